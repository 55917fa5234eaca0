#include "login/loginanswer.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Login::LoginOutcome;

namespace {

// An answer of n apostrophe-separated pieces with the welcome in piece 0 and the given values
// at the places the forum puts the user name (9), group (13) and UID (17).
QString welcomePieces(qsizetype n, const QString &name, const QString &group, const QString &uid = u"42"_s)
{
    QStringList pieces(n, u","_s);
    pieces[0] = u"<root><![CDATA[欢迎您回来 <script>"_s;
    const std::pair<qsizetype, QString> values[] = {{9, name}, {13, group}, {17, uid}};
    for (const auto &[index, value] : values) {
        if (index < n)
            pieces[index] = value;
    }
    return pieces.join(u'\'');
}

// A welcome as the forum writes it, around the script call's dictionary.
QString welcome(const QString &dictionary, const QString &extra = {})
{
    return u"<?xml version=\"1.0\" encoding=\"gbk\"?>\r\n<root><![CDATA[欢迎您回来"_s + extra
        + u" <script type=\"text/javascript\">if(typeof succeedhandle_login=='function') "
          u"{succeedhandle_login('http://bbs.test/', '欢迎您回来', "_s
        + dictionary + u");}</script>]]></root>"_s;
}

QString errorCall(const QString &before, const QString &message)
{
    return u"<?xml version=\"1.0\" encoding=\"gbk\"?>\r\n<root><![CDATA["_s + before
        + u"<script type=\"text/javascript\" reload=\"1\">if(typeof errorhandle_login=='function') {errorhandle_login('"_s
        + message + u"', {});}</script>]]></root>"_s;
}

} // namespace

class TestLoginAnswer : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
};

void TestLoginAnswer::classify_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("userGroup");
    QTest::addColumn<QString>("uid"); // null: none in the answer

    const auto row = [](const char *name, const QString &answer, LoginOutcome outcome, const QString &message = {},
                        const QString &userName = {}, const QString &userGroup = {}, const QString &uid = {}) {
        QTest::newRow(name) << answer << int(outcome) << message << userName << userGroup << uid;
    };
    const QString dict = u"{'username':' alice ','usergroup':'<font color=\"#FF6600\"><B>VIP会员</B></font>','uid':' 42 '}"_s;
    row("success, values trimmed and cleaned", welcome(dict), LoginOutcome::Success, {}, u"alice"_s, u"VIP会员"_s, u"42"_s);
    row("welcome and failure: success wins", welcome(dict, u"登录失败"_s), LoginOutcome::Success, {}, u"alice"_s,
        u"VIP会员"_s, u"42"_s);
    row("banned group", welcome(u"{'username':'bob','usergroup':'<font color=#999><b>禁止发言</b></font>','uid':'7'}"_s),
        LoginOutcome::Banned, {}, u"bob"_s, u"禁止发言"_s, u"7"_s);
    row("group of tags only", welcomePieces(18, u"bob"_s, u"<font color=red><b></b></font>"_s),
        LoginOutcome::LoginDataError, {}, u"bob"_s, {}, u"42"_s);
    row("empty user name", welcomePieces(18, u"  "_s, u"VIP"_s), LoginOutcome::LoginDataError, {}, {}, u"VIP"_s, u"42"_s);
    row("13 pieces", welcomePieces(13, u"bob"_s, {}), LoginOutcome::LoginDataError, {}, u"bob"_s);
    row("14 pieces", welcomePieces(14, u"bob"_s, u"VIP"_s), LoginOutcome::Success, {}, u"bob"_s, u"VIP"_s);
    row("17 pieces", welcomePieces(17, u"bob"_s, u"VIP"_s), LoginOutcome::Success, {}, u"bob"_s, u"VIP"_s);
    row("apostrophe in the group shifts the pieces",
        welcome(u"{'username':'ann','usergroup':'<b>Bob's</b>','uid':'5'}"_s), LoginOutcome::Success, {}, u"ann"_s,
        u"Bob"_s, u":"_s);
    row("failure text", errorCall(u"登录失败，您还可以尝试 4 次"_s, u"登录失败，您还可以尝试 4 次"_s),
        LoginOutcome::FailureText, u"登录失败，您还可以尝试 4 次"_s);
    row("failure text loses its '<'", errorCall(u"<b>密码错误</b>，登录失败 "_s, u"x"_s), LoginOutcome::FailureText,
        u"b>密码错误/b>，登录失败 "_s);
    row("failure without a script", u"<root><![CDATA[登录失败]]></root>"_s, LoginOutcome::FailureText, u""_s);
    row("forum message keeps its spaces", errorCall(u"请先激活"_s, u" 请先 激活 "_s), LoginOutcome::ForumMessage,
        u" 请先 激活 "_s);
    row("errorhandle_login in under four pieces", u"<root><![CDATA[errorhandle_login('x', {});]]></root>"_s,
        LoginOutcome::ForumFailure, u""_s);
    row("CDATA text", u"<?xml version=\"1.0\"?>\r\n<root><![CDATA[请稍后再试]]></root>"_s, LoginOutcome::ForumMessage,
        u"请稍后再试"_s);
    row("no marker, no CDATA", u"<html><title>503 Service Unavailable</title></html>"_s, LoginOutcome::ForumFailure, u""_s);
    row("CDATA never closed", u"<root><![CDATA[请稍后"_s, LoginOutcome::ForumFailure, u""_s);
    row("bracket right after CDATA", u"<root><![CDATA]]></root>"_s, LoginOutcome::ForumFailure, u""_s);
    row("empty answer", u""_s, LoginOutcome::ForumFailure, u""_s);
}

void TestLoginAnswer::classify()
{
    QFETCH(QString, answer);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    QFETCH(QString, userName);
    QFETCH(QString, userGroup);
    QFETCH(QString, uid);

    const Login::LoginResult result = Login::classifyAnswer(answer);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.message, message);
    QCOMPARE(result.userName, userName);
    QCOMPARE(result.userGroup, userGroup);
    QCOMPARE(result.uid.has_value(), !uid.isNull());
    QCOMPARE(result.uid.value_or(QString()), uid.isNull() ? QString() : uid);
}

QTEST_APPLESS_MAIN(TestLoginAnswer)
#include "tst_loginanswer.moc"
