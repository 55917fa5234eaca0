#include "login/loginform.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Login::LoginForm;

class TestLoginForm : public QObject
{
    Q_OBJECT

private slots:
    void body_data();
    void body();
    void url();
};

void TestLoginForm::body_data()
{
    QTest::addColumn<QString>("forum");
    QTest::addColumn<LoginForm>("form");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("status");

    const QString bbs = u"http://bbs.test/"_s;
    const QByteArray head = "formhash=5c2e91ab&referer=http%3A%2F%2Fbbs.test%2F&username=";
    QTest::newRow("no question") << bbs << LoginForm{u"alice"_s, u"pw"_s, 0, {}} << head + "alice&password=pw"
                                 << u"正在为您登录账号[alice].."_s;
    QTest::newRow("question 3") << bbs << LoginForm{u"alice"_s, u"pw"_s, 3, u"北京"_s}
                                << head + "alice&password=pw&questionid=3&answer=%B1%B1%BE%A9" << u"正在为您登录账号.."_s;
    QTest::newRow("question unanswered") << bbs << LoginForm{u"alice"_s, u"pw"_s, 5, {}} << head + "alice&password=pw"
                                         << u"正在为您登录账号[alice].."_s;
    QTest::newRow("answer without question") << bbs << LoginForm{u"alice"_s, u"pw"_s, 0, u"x"_s}
                                             << head + "alice&password=pw" << u"正在为您登录账号[alice].."_s;
    QTest::newRow("reserved bytes") << bbs << LoginForm{u"alice"_s, u"a&b=c+d%e f密-_.*~"_s, 0, {}}
                                    << head + "alice&password=a%26b%3Dc%2Bd%25e%20f%C3%DC-_.*%7E"
                                    << u"正在为您登录账号[alice].."_s;
    QTest::newRow("no injected field") << bbs << LoginForm{u"alice"_s, u"x&username=admin"_s, 0, {}}
                                       << head + "alice&password=x%26username%3Dadmin" << u"正在为您登录账号[alice].."_s;
    QTest::newRow("Chinese account, answer with spaces") << bbs << LoginForm{u"提问者 "_s, u"pw"_s, 7, u" 12&3 "_s}
                                                        << head + "%CC%E1%CE%CA%D5%DF%20&password=pw&questionid=7&answer=%2012%263%20"
                                                        << u"正在为您登录账号.."_s;
    QTest::newRow("port and path in the referer")
        << u"http://127.0.0.1:8360/forum/"_s << LoginForm{u"a"_s, u"b"_s, 0, {}}
        << QByteArray("formhash=5c2e91ab&referer=http%3A%2F%2F127.0.0.1%3A8360%2Fforum%2F&username=a&password=b")
        << u"正在为您登录账号[a].."_s;
}

void TestLoginForm::body()
{
    QFETCH(QString, forum);
    QFETCH(LoginForm, form);
    QFETCH(QByteArray, body);
    QFETCH(QString, status);
    QCOMPARE(Login::loginBody(forum, form), body);
    QCOMPARE(Login::loginStatus(form), status);
}

void TestLoginForm::url()
{
    QCOMPARE(Login::loginUrl(u"http://bbs.test/"_s),
             u"http://bbs.test/member.php?mod=logging&action=login&loginsubmit=yes&handlekey=login&loginhash=Tq8mW&inajax=1"_s);
}

QTEST_APPLESS_MAIN(TestLoginForm)
#include "tst_loginform.moc"
