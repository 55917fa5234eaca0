// How the program behaves toward the sites it visits: what it calls itself.
#include "config/endpoints.h"
#include "demo-site/server.h"
#include "support/demositecli.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestManners : public QObject
{
    Q_OBJECT

private slots:
    void userAgent_data();
    void userAgent();
};

void TestManners::userAgent_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("option");   // --user-agent; empty: none
    QTest::addColumn<QString>("variable"); // VORLEN_USER_AGENT; empty: unset
    QTest::addColumn<QString>("expected");
    const QString browser = QLatin1StringView(Config::kDefaultUserAgent);
    const QStringList harvest{u"harvest"_s, u"--page=0"_s};
    const QStringList login{u"login"_s, u"--user=demo"_s, u"--password=demo123"_s};
    const QStringList crawl{u"crawl"_s, u"--pages=0"_s};
    QTest::newRow("page fetch, default") << harvest << QString() << QString() << browser;
    QTest::newRow("login POST, default") << login << QString() << QString() << browser;
    QTest::newRow("crawl, default") << crawl << QString() << QString() << browser;
    QTest::newRow("login POST, option") << login << u"Probe/2.0 (test)"_s << QString() << u"Probe/2.0 (test)"_s;
    QTest::newRow("crawl, variable") << crawl << QString() << u"Env/1"_s << u"Env/1"_s;
    QTest::newRow("page fetch, option beats variable") << harvest << u"Opt/1"_s << u"Env/1"_s << u"Opt/1"_s;
}

// Every request of the command, the login POST included, carries the one user agent.
void TestManners::userAgent()
{
    QFETCH(QStringList, command);
    QFETCH(QString, option);
    QFETCH(QString, variable);
    QFETCH(QString, expected);
    DemoSite::Server site;
    QVERIFY(site.start());
    QProcessEnvironment environment;
    if (!variable.isEmpty())
        environment.insert(u"VORLEN_USER_AGENT"_s, variable);
    const QStringList agent = option.isEmpty() ? QStringList() : QStringList{u"--user-agent"_s, option};
    QCOMPARE(runCliOn(site, agent + command, environment).code, 0);

    const std::vector<DemoSite::Visit> visits = site.visits();
    QVERIFY(visits.size() > 1);
    QCOMPARE(std::any_of(visits.begin(), visits.end(), [](const DemoSite::Visit &visit) { return visit.method == "POST"; }),
             command.front() == u"login");
    for (const DemoSite::Visit &visit : visits)
        QCOMPARE(QString::fromStdString(visit.userAgent), expected);
}

QTEST_GUILESS_MAIN(TestManners)
#include "tst_manners.moc"
