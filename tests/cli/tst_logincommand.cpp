#include "demo-site/server.h"
#include "support/clirun.h"
#include "support/loopbackserver.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
        QTest::addColumn<bool>("probeAnswers");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");

        const auto user = [](const char *name, const char *password) {
            return QStringList{u"--user"_s, QString::fromUtf8(name), u"--password"_s, QString::fromUtf8(password)};
        };
        QTest::newRow("logged in") << user("demo", "demo123") << true << 0 << u"demo\tVIP会员\t42\n"_s;
        QTest::newRow("question") << user("提问者", "demo123") + QStringList{u"--question=3"_s, u"--answer=北京"_s} << true
                                  << 0 << u"提问者\t注册会员\t1234\n"_s;
        QTest::newRow("refused") << user("demo", "nope") << true << 1 << QString();
        QTest::newRow("banned") << user("banned", "demo123") << true << 1 << QString();
        QTest::newRow("forum failure") << user("broken", "x") << true << 5 << QString();
        QTest::newRow("no network") << user("demo", "demo123") << false << 3 << QString();
        QTest::newRow("no password") << user("demo", "") << true << 2 << QString();
        QTest::newRow("question without answer") << user("demo", "x") + QStringList{u"--question"_s, u"3"_s} << true << 2
                                                 << QString();
        QTest::newRow("question out of range") << user("demo", "x") + QStringList{u"--question"_s, u"8"_s} << true << 2
                                               << QString();
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, probeAnswers);
        QFETCH(int, code);
        QFETCH(QString, out);

        QTemporaryDir dir;
        const QString ini = dir.filePath(u"login.ini"_s);
        QProcessEnvironment environment;
        environment.insert(u"VORLEN_LOGIN_INI"_s, ini);
        const QString base = QString::fromStdString(m_site.baseUrl());
        const CliOutcome outcome = runCli(QStringList{u"--forum"_s, base + u"forum/"_s, u"--probe"_s,
                                                      probeAnswers ? base + u"probe/"_s : m_closedPort, u"login"_s}
                                              + arguments,
                                          environment);
        QCOMPARE(outcome.code, code);
        QCOMPARE(outcome.out, out);
        if (code != 0)
            QVERIFY2(!outcome.err.trimmed().isEmpty(), "a refusal or failure says why");
        QVERIFY(!QFileInfo::exists(ini));
    }
};

QTEST_GUILESS_MAIN(TestLoginCommand)
#include "tst_logincommand.moc"
