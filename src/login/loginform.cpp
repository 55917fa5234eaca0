#include "login/loginform.h"

#include "text/gbk.h"

using namespace Qt::StringLiterals;

namespace Login {

namespace {

// Fixed tokens the forum's login form is sent with.
constexpr char kFormHash[] = "5c2e91ab";
constexpr char kLoginHash[] = "Tq8mW";

bool isUnreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'
        || c == '.' || c == '*';
}

// The referer field: the forum's address with ":" and "/" escaped, the rest as it is.
QByteArray escapedReferer(const QString &forumBase)
{
    QString referer = forumBase;
    referer.replace(u':', u"%3A"_s).replace(u'/', u"%2F"_s);
    return Text::toGbk(referer);
}

} // namespace

QString loginUrl(const QString &forumBase)
{
    return forumBase + u"member.php?mod=logging&action=login&loginsubmit=yes&handlekey=login&loginhash="_s
        + QLatin1String(kLoginHash) + u"&inajax=1"_s;
}

QByteArray formEncode(QStringView text)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    const QByteArray bytes = Text::toGbk(text);
    QByteArray encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char byte : bytes) {
        if (isUnreserved(byte)) {
            encoded += byte;
            continue;
        }
        const auto value = static_cast<unsigned char>(byte);
        encoded += '%';
        encoded += kHexDigits[value >> 4];
        encoded += kHexDigits[value & 0x0F];
    }
    return encoded;
}

QByteArray loginBody(const QString &forumBase, const LoginForm &form)
{
    QByteArray body = "formhash="_ba + kFormHash + "&referer=" + escapedReferer(forumBase) + "&username="
        + formEncode(form.account) + "&password=" + formEncode(form.password);
    if (form.carriesQuestion())
        body += "&questionid=" + QByteArray::number(form.question) + "&answer=" + formEncode(form.answer);
    return body;
}

QString loginStatus(const LoginForm &form)
{
    if (form.carriesQuestion())
        return u"正在为您登录账号.."_s;
    return u"正在为您登录账号["_s + form.account + u"].."_s;
}

} // namespace Login
