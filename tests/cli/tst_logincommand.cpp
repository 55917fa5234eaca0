#include "demo-site/server.h"
#include "net/networkaccess.h"
#include "support/clirun.h"
#include "support/demoaccounts.h"
#include "support/loopbackserver.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList loginArguments(const DemoSite::Server &site, const QString &probe)
{
    QStringList arguments{u"--demo-site"_s, QString::fromStdString(site.baseUrl())};
    if (!probe.isEmpty())
        arguments << u"--probe"_s << probe;
    return arguments << u"login"_s;
}

} // namespace

class TestLoginCommand : public QObject
{
    Q_OBJECT

    DemoSite::Server m_site;
    QString m_closedPort; // a base URL nothing listens on

private slots:
    void initTestCase()
    {
        QVERIFY(m_site.start());
        LoopbackServer closed;
        QVERIFY(closed.start());
        m_closedPort = closed.baseUrl();
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input"); // standard input
        QTest::addColumn<bool>("probeAnswers");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("errHolds");
        QTest::addColumn<QString>("loggedOut"); // the UID whose login the forum saw end; null: no logout

        const auto user = [](const char *name, const char *password) {
            return QStringList{u"--user"_s, QString::fromUtf8(name), u"--password"_s, QString::fromUtf8(password)};
        };
        const QStringList demo{u"--user"_s, u"demo"_s};
        const QString demoLine = u"demo\tVIP会员\t42\n"_s;
        // The options that log in a demo account, with its security question where it has one.
        const auto login = [](QStringView label) {
            const DemoAccount &a = demoAccount(label);
            QStringList arguments{u"--user"_s, a.account, u"--password"_s, a.password};
            if (a.question != 0)
                arguments << u"--question"_s << QString::number(a.question) << u"--answer"_s << a.answer;
            return arguments;
        };
        QTest::newRow("logged in") << login(u"success") << QString() << true << 0 << demoLine << QString() << QString();
        QTest::newRow("question") << login(u"with question")
                                  << QString() << true << 0 << u"提问者\t注册会员\t1234\n"_s << QString() << QString();
        QTest::newRow("password on stdin") << demo + QStringList{u"--password-stdin"_s} << u"demo123\r\n"_s << true << 0
                                           << demoLine << QString() << QString();
        QTest::newRow("refused") << user("demo", "nope") << QString() << true << 1 << QString() << u"登录失败"_s << QString();
        QTest::newRow("banned: logged out") << login(u"banned") << QString() << true << 1 << QString()
                                            << QString() << u"13"_s;
        QTest::newRow("login data error: logged out") << login(u"login data error") << QString() << true << 1 << QString()
                                                      << QString() << u"99"_s;
        QTest::newRow("forum failure") << login(u"broken answer") << QString() << true << 5 << QString() << QString() << QString();
        QTest::newRow("no network") << login(u"success") << QString() << false << 3 << QString() << QString() << QString();
        QTest::newRow("no password") << user("demo", "") << QString() << true << 2 << QString() << u"请输入密码"_s << QString();
        QTest::newRow("question without answer") << user("demo", "x") + QStringList{u"--question"_s, u"3"_s} << QString()
                                                 << true << 2 << QString() << QString() << QString();
        QTest::newRow("question 0") << user("demo", "x") + QStringList{u"--question"_s, u"0"_s} << QString() << true << 2
                                    << QString() << u"1 to 7"_s << QString();
        QTest::newRow("question 8") << user("demo", "x") + QStringList{u"--question"_s, u"8"_s} << QString() << true << 2
                                    << QString() << u"1 to 7"_s << QString();
        QTest::newRow("answer without question") << user("demo", "x") + QStringList{u"--answer=北京"_s} << QString() << true
                                                 << 2 << QString() << u"--answer"_s << QString();
        // Refusals that must not show a password typed in the wrong place.
        QTest::newRow("password without its option") << demo + QStringList{u"secret"_s} << QString() << true << 2
                                                      << QString() << QString() << QString();
        QTest::newRow("misspelt option") << demo + QStringList{u"--passwort=secret"_s} << QString() << true << 2
                                         << QString() << u"--passwort"_s << QString();
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(bool, probeAnswers);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, errHolds);
        QFETCH(QString, loggedOut);

        QTemporaryDir dir;
        const QString ini = dir.filePath(u"login.ini"_s);
        QProcessEnvironment environment;
        environment.insert(u"VORLEN_LOGIN_INI"_s, ini);
        const std::size_t logoutsBefore = m_site.forumLogouts().size();
        const CliOutcome outcome = runCli(loginArguments(m_site, probeAnswers ? QString() : m_closedPort) + arguments,
                                          environment, input);
        QCOMPARE(outcome.code, code);
        QCOMPARE(outcome.out, out);
        if (code != 0)
            QVERIFY2(!outcome.err.trimmed().isEmpty(), "a refusal or failure says why");
        QVERIFY2(outcome.err.contains(errHolds), qPrintable(outcome.err));
        QVERIFY2(!outcome.err.contains(u"secret"_s), qPrintable(outcome.err));
        QVERIFY(!QFileInfo::exists(ini));
        // Seen by the forum when the command returns: the process would end next.
        const std::vector<std::string> logouts = m_site.forumLogouts();
        const std::vector<std::string> expected = loggedOut.isNull() ? std::vector<std::string>{} : std::vector{loggedOut.toStdString()};
        QCOMPARE(std::vector(logouts.begin() + std::ptrdiff_t(logoutsBefore), logouts.end()), expected);
    }

    // A forum that names the user with ESC, TAB and LF: the line stays three fields and no
    // escape sequence reaches the terminal.
    void controlCharactersInTheName()
    {
        DemoSite::Server site(DemoSite::Options{.fault = DemoSite::Fault::ControlNames});
        QVERIFY(site.start());
        const CliOutcome outcome = runCli(loginArguments(site, {}) + QStringList{u"--user=demo"_s, u"--password=demo123"_s});
        Net::networkManager().clearConnectionCache();
        QCOMPARE(outcome.code, 0);
        const QStringList fields = outcome.out.chopped(1).split(u'\t');
        QCOMPARE(fields.size(), 3);
        QVERIFY(fields.front().endsWith(u"demo"_s));
        QVERIFY(!outcome.out.chopped(1).contains(u'\n'));
        QVERIFY(!outcome.out.contains(QChar(0x1b)));
    }
};

QTEST_GUILESS_MAIN(TestLoginCommand)
#include "tst_logincommand.moc"
