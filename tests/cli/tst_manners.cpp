// How the program behaves toward the sites it visits: what it calls itself, which proxy it goes
// through, how it waits when a site asks it to slow down, what robots.txt lets it fetch.
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
    void robots_data();
    void robots();
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
        runCliOn(site, {u"crawl"_s, u"--pages"_s, page, u"--max-retry-after"_s, longest, u"--robots=ignore"_s});
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

void TestManners::robots_data()
{
    QTest::addColumn<QString>("robots"); // what /robots.txt serves; empty: it answers 500
    // What stderr holds, ROWS the rows of page 0 and PORT the site's port put in.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("errHolds");
    QTest::addColumn<QString>("neverAsked"); // no path asked for starts with it (empty: no such path)
    QTest::addColumn<int>("leastGapMs");     // between any two requests
    const QString details = u"User-agent: *\nDisallow: /id-\n"_s;
    const QStringList page0{u"--pages=0"_s};
    QTest::newRow("detail pages disallowed") << details << page0 << 4 << u", disallowed ROWS,"_s << u"/id-"_s << 0;
    QTest::newRow("page 2 disallowed") << u"User-agent: *\nDisallow: /act-2.html\n"_s << QStringList{u"--pages=1-3"_s} << 4
                                       << u"page 2 skipped: robots.txt disallows it"_s << u"/act-2."_s << 0;
    QTest::newRow("our own group before *") << u"User-agent: *\nAllow: /\n\nUser-agent: Vorlen360/2\nDisallow: /id\n"_s << page0
                                            << 4 << u", disallowed ROWS,"_s << u"/id-"_s << 0;
    QTest::newRow("ignored") << details << QStringList{u"--pages=0"_s, u"--robots=ignore"_s} << 0 << u", disallowed 0,"_s
                             << u"/robots.txt"_s << 0;
    QTest::newRow("robots.txt fails") << QString() << QStringList{u"--pages=0"_s, u"--retries=0"_s} << 3
                                      << u"robots.txt of 127.0.0.1:PORT could not be read (HTTP 500)"_s << u"/act-"_s << 0;
    QTest::newRow("robots.txt fails, ignored") << QString() << QStringList{u"--pages=0"_s, u"--robots"_s, u"ignore"_s} << 0
                                               << u", disallowed 0,"_s << u"/robots.txt"_s << 0;
    QTest::newRow("Crawl-delay") << u"User-agent: *\nCrawl-delay: 0.1\n"_s << page0 << 0
                                 << u"Crawl-delay of 0.1 s at least between requests to 127.0.0.1:PORT"_s << QString() << 100;
    QTest::newRow("the crawl-delay setting") << u"User-agent: *\nDisallow:\n"_s
                                             << QStringList{u"--pages=0"_s, u"--crawl-delay=100"_s, u"--jitter=0"_s} << 0
                                             << u", disallowed 0,"_s << QString() << 100;
}

// robots.txt of the share site is read once, before anything else, through the crawl's own
// fetcher; what it disallows is never asked for, its Crawl-delay is the least pause.
void TestManners::robots()
{
    QFETCH(QString, robots);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, errHolds);
    QFETCH(QString, neverAsked);
    QFETCH(int, leastGapMs);
    DemoSite::Options options;
    options.robotsTxt = robots.toStdString();
    options.fault = robots.isEmpty() ? DemoSite::Fault::RobotsError : DemoSite::Fault::None;
    DemoSite::Server site(options);
    QVERIFY(site.start());
    const CliOutcome outcome = runCliOn(site, QStringList{u"crawl"_s} + arguments);
    QCOMPARE(outcome.code, code);
    const qsizetype rows = qsizetype(site.catalog().listingPage(0).size());
    errHolds.replace(u"ROWS"_s, QString::number(rows)).replace(u"PORT"_s, QString::number(site.port()));
    QVERIFY2(outcome.err.contains(errHolds), qPrintable(outcome.err));

    const std::vector<DemoSite::Visit> visits = site.visits();
    QCOMPARE(visits.front().path == "/robots.txt", !arguments.join(u' ').contains(u"ignore"_s));
    QCOMPARE(std::count_if(visits.begin(), visits.end(), [](const DemoSite::Visit &visit) { return visit.path == "/robots.txt"; }),
             visits.front().path == "/robots.txt" ? 1 : 0);
    for (std::size_t i = 0; i < visits.size(); ++i) {
        QVERIFY2(neverAsked.isEmpty() || !visits[i].path.starts_with(neverAsked.toStdString()), visits[i].path.c_str());
        if (i > 0)
            QVERIFY(visits[i].at - visits[i - 1].at >= std::chrono::milliseconds(leastGapMs));
    }
    if (code == 4 && errHolds.startsWith(u", disallowed "_s)) // every row is written, without its share code
        QCOMPARE(outcome.out.count(u"\"shareCode\":\"\""_s), rows);
}

QTEST_GUILESS_MAIN(TestManners)
#include "tst_manners.moc"
