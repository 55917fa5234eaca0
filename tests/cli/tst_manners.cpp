// How the program behaves toward the sites it visits: what it calls itself, which proxy it goes
// through, how it waits when a site asks it to slow down.
#include "config/endpoints.h"
#include "demo-site/server.h"
#include "support/closedport.h"
#include "support/demositecli.h"
#include "support/proxies.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestManners : public QObject
{
    Q_OBJECT

private slots:
    void userAgent_data();
    void userAgent();
    void proxy_data();
    void proxy();
    void throttled_data();
    void throttled();
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

void TestManners::proxy_data()
{
    QTest::addColumn<QString>("server");   // socks, socks-login, http, dead (a closed port)
    QTest::addColumn<QString>("variable"); // where the setting goes; empty: --proxy
    QTest::addColumn<QString>("setting");  // %1: the server's 127.0.0.1:PORT
    QTest::addColumn<QString>("noProxy");
    QTest::addColumn<bool>("throughProxy"); // else straight to the site
    QTest::newRow("socks5h") << u"socks"_s << QString() << u"socks5h://%1"_s << QString() << true;
    QTest::newRow("socks5 with a login") << u"socks-login"_s << QString() << u"socks5://demo:s%40cret@%1/"_s << QString() << true;
    QTest::newRow("http") << u"http"_s << QString() << u"http://%1"_s << QString() << true;
    QTest::newRow("VORLEN_PROXY") << u"socks"_s << u"VORLEN_PROXY"_s << u"socks5://%1"_s << QString() << true;
    QTest::newRow("all_proxy") << u"socks"_s << u"all_proxy"_s << u"socks5h://%1"_s << QString() << true;
    QTest::newRow("http_proxy without a scheme") << u"http"_s << u"http_proxy"_s << u"%1"_s << QString() << true;
    QTest::newRow("dead socks5h") << u"dead"_s << QString() << u"socks5h://%1"_s << QString() << true;
    QTest::newRow("dead http proxy from ALL_PROXY") << u"dead"_s << u"ALL_PROXY"_s << u"http://%1"_s << QString() << true;
    QTest::newRow("https_proxy is not for http") << u"dead"_s << u"https_proxy"_s << u"http://%1"_s << QString() << false;
    QTest::newRow("HTTP_PROXY is not read") << u"dead"_s << u"HTTP_PROXY"_s << u"http://%1"_s << QString() << false;
    QTest::newRow("no_proxy names the site") << u"dead"_s << u"all_proxy"_s << u"http://%1"_s << u"x.test, 127.0.0.1"_s << false;
    QTest::newRow("no_proxy applies to --proxy") << u"dead"_s << QString() << u"http://%1"_s << u"*"_s << false;
}

// A crawl goes through the proxy its settings choose, or straight to the site when none is
// chosen; a proxy that fails fails every request, names itself, and no request goes around it.
void TestManners::proxy()
{
    QFETCH(QString, server);
    QFETCH(QString, variable);
    QFETCH(QString, setting);
    QFETCH(QString, noProxy);
    QFETCH(bool, throughProxy);
    SocksProxy socks;
    ForwardingProxy http;
    QString address = u"127.0.0.1:%1"_s.arg(closedPort());
    if (server.startsWith(u"socks")) {
        if (!SocksProxy::installed())
            QSKIP("microsocks is not installed (scripts/install-deps installs it)");
        QVERIFY(server == u"socks" ? socks.start() : socks.start(u"demo"_s, u"s@cret"_s));
        address = socks.address();
    } else if (server == u"http") {
        QVERIFY(http.start());
        address = http.address();
    }
    DemoSite::Server site;
    QVERIFY(site.start());
    QProcessEnvironment environment;
    QStringList arguments{u"crawl"_s, u"--pages=0"_s, u"--retries=0"_s};
    if (variable.isEmpty())
        arguments.prepend(u"--proxy="_s + setting.arg(address));
    else
        environment.insert(variable, setting.arg(address));
    if (!noProxy.isEmpty())
        environment.insert(u"no_proxy"_s, noProxy);

    const CliOutcome outcome = runCliOn(site, arguments, environment);
    if (server == u"dead" && throughProxy) {
        QCOMPARE(outcome.code, 3);
        QVERIFY2(outcome.err.contains(u"://"_s + address + u')'), qPrintable(outcome.err));
        QCOMPARE(site.visits().size(), 0u);
        return;
    }
    QCOMPARE(outcome.code, 0);
    QVERIFY(site.visits().size() > 1);
    if (server.startsWith(u"socks"))
        QCOMPARE(socks.connectionsMade() > 0, throughProxy);
    if (server == u"http")
        QCOMPARE(http.requests().size(), site.visits().size());
}

void TestManners::throttled_data()
{
    QTest::addColumn<QString>("page"); // its listing is answered 429 (even) or 503 (odd) with Retry-After first
    QTest::addColumn<QString>("longest"); // --max-retry-after
    QTest::addColumn<int>("code");
    QTest::newRow("429") << u"0"_s << u"120"_s << 0;
    QTest::newRow("503") << u"1"_s << u"120"_s << 0;
    QTest::newRow("asks for more than allowed") << u"0"_s << u"1"_s << 4;
}

// Nothing reaches the site before its Retry-After has passed; the pauses after it grow. A site
// asking for more than --max-retry-after is given up: the crawl ends, saying why.
void TestManners::throttled()
{
    QFETCH(QString, page);
    QFETCH(QString, longest);
    QFETCH(int, code);
    DemoSite::Server site(DemoSite::Options{.fault = DemoSite::Fault::Throttled});
    QVERIFY(site.start());
    const CliOutcome outcome =
        runCliOn(site, {u"crawl"_s, u"--pages"_s, page, u"--max-retry-after"_s, longest});
    QCOMPARE(outcome.code, code);

    const std::vector<DemoSite::Visit> visits = site.visits();
    if (code != 0) {
        QCOMPARE(visits.size(), 1u);
        QVERIFY2(outcome.err.contains(u"asked for a pause of 2 s (Retry-After), more than --max-retry-after 1"_s),
                 qPrintable(outcome.err));
        return;
    }
    QCOMPARE(visits.size(), 2 + site.catalog().listingPage(page.toInt()).size());
    QCOMPARE(visits[0].path, visits[1].path); // the listing, asked again
    QVERIFY(visits[1].at - visits[0].at >= std::chrono::seconds(DemoSite::kThrottleRetryAfterSeconds));
    // The host's pause doubled to a second, spread by the jitter of 0.5.
    QVERIFY(visits[2].at - visits[1].at >= std::chrono::milliseconds(500));
}

QTEST_GUILESS_MAIN(TestManners)
#include "tst_manners.moc"
