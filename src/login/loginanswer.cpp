#include "login/loginanswer.h"

#include <QList>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Login {

namespace {

constexpr qsizetype kUserNamePiece = 9;
constexpr qsizetype kUserGroupPiece = 13;
constexpr qsizetype kUidPiece = 17;
constexpr qsizetype kMessagePiece = 3;

// Spaces only, as the forum pads its values with nothing else.
QStringView trimSpaces(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.sliced(1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// Removes every tag the pattern matches, ignoring case.
QString stripTags(QString text, const QRegularExpression &tags)
{
    return text.replace(tags, QString());
}

// The forum dresses the group in font and bold tags ("</?b" takes every tag starting with b).
QString withoutFontAndBold(const QString &group)
{
    static const QRegularExpression font(u"</?font[^<>]*>"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bold(u"</?b[^<>]*>"_s, QRegularExpression::CaseInsensitiveOption);
    return stripTags(stripTags(group, font), bold);
}

LoginResult welcomed(const QList<QStringView> &pieces)
{
    LoginResult result;
    auto piece = [&pieces](qsizetype index) {
        return index < pieces.size() ? trimSpaces(pieces[index]).toString() : QString();
    };
    result.userName = piece(kUserNamePiece);
    result.userGroup = withoutFontAndBold(piece(kUserGroupPiece));
    if (kUidPiece < pieces.size())
        result.uid = piece(kUidPiece);
    if (result.userName.isEmpty() || result.userGroup.isEmpty())
        result.outcome = LoginOutcome::LoginDataError;
    else if (result.userGroup.contains(u"禁止"))
        result.outcome = LoginOutcome::Banned;
    else
        result.outcome = LoginOutcome::Success;
    return result;
}

// The text after "CDATA" and the one character after it, up to the next "]"; empty when the
// answer has no "CDATA" or no "]" after it.
QString cdataText(QStringView answer)
{
    const qsizetype start = answer.indexOf(u"CDATA");
    if (start < 0)
        return {};
    const qsizetype end = answer.indexOf(u']', start);
    const qsizetype textStart = start + 6;
    if (end < textStart)
        return {};
    return answer.sliced(textStart, end - textStart).toString();
}

// The CDATA text up to its first "<script ", with every "<" taken out; empty without a script.
QString failureText(QStringView answer)
{
    const QString cdata = cdataText(answer);
    const qsizetype script = cdata.indexOf(u"<script ");
    if (script < 0)
        return {};
    return cdata.left(script).remove(u'<');
}

} // namespace

LoginResult classifyAnswer(QStringView answer)
{
    if (answer.contains(u"欢迎您回来"))
        return welcomed(answer.split(u'\''));

    LoginResult result;
    if (answer.contains(u"失败")) {
        result.outcome = LoginOutcome::FailureText;
        result.message = failureText(answer);
        return result;
    }
    if (answer.contains(u"errorhandle_login")) {
        const QList<QStringView> pieces = answer.split(u'\'');
        if (kMessagePiece < pieces.size())
            result.message = pieces[kMessagePiece].toString();
    } else {
        result.message = cdataText(answer);
    }
    result.outcome = result.message.isEmpty() ? LoginOutcome::ForumFailure : LoginOutcome::ForumMessage;
    return result;
}

} // namespace Login
