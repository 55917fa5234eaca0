// The crawl core against the demo site (whose catalogue predicts every page, every share's state and
// every request it fails on purpose) and against scripted answers for what the site cannot show.
#include "config/endpoints.h"
#include "crawl/crawler.h"
#include "crawl/fetcher.h"
#include "crawl/linkcheck.h"
#include "demo-site/failures.h"
#include "demo-site/server.h"
#include "net/networkaccess.h"
#include "support/demositerows.h"
#include "support/loopbackserver.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTest>
#include <QTimer>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    Crawl::CrawlSummary summary;
    QList<Crawl::CrawlRow> rows;
    int requests = 0;
};

Run crawl(const Crawl::CrawlPlan &plan, Crawl::Pacing pacing = {.backoffBase = std::chrono::milliseconds(1)})
{
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher(pacing, stop);
    Crawl::Crawler crawler(plan, fetcher);
    Run run;
    Crawl::CrawlCallbacks callbacks;
    callbacks.row = [&run](const Crawl::CrawlRow &row) {
        run.rows.append(row);
        return true;
    };
    run.summary = crawler.run(callbacks);
    run.requests = fetcher.requestsSent();
    return run;
}

Crawl::CrawlPlan planFor(const std::string &baseUrl, int firstPage, int lastPage)
{
    Crawl::CrawlPlan plan;
    const Config::Endpoints site = Config::Endpoints::onDemoSite(QString::fromStdString(baseUrl));
    plan.shareSite = site.shareSite;
    plan.sharePrefix = site.sharePrefix;
    plan.firstPage = firstPage;
    plan.lastPage = lastPage;
    return plan;
}

// Whether the site fails every attempt a client with `retries` retries makes at path.
bool failsForGood(const DemoSite::Options &site, const std::string &path, int retries)
{
    for (int attempt = 0; attempt <= retries; ++attempt) {
        if (DemoSite::plannedFailure(site.seed, site.failFraction, path, attempt) == DemoSite::Failure::None)
            return false;
    }
    return true;
}

using DemoSiteRows::stopSite;

QString listingEntry(const QString &id, const QString &title)
{
    return u"<dd class='fff' id='"_s + id + u"'><dfn>"_s + title + u"</dfn> <span class='ssite'>1</span> "
           u"<span class='sma'>ab12</span></dd>\n"_s;
}

} // namespace

class TestCrawler : public QObject
{
    Q_OBJECT

private slots:
    void flakySite_data();
    void flakySite();
    void linkStates_data();
    void linkStates();
    void shareAnswers_data();
    void shareAnswers();
    void freshness_data();
    void freshness();
    void cachedLinks_data();
    void cachedLinks();
    void duplicatesAcrossPages();
    void retries_data();
    void retries();
    void waits_data();
    void waits();
    void stopCutsWaitsButNotTheRequest();
    void crawlDelayIsCutToTheLongestPause();
    void leastPause_data();
    void leastPause();
    void requestsAtOnce_data();
    void requestsAtOnce();
    void queueOrder();
};

void TestCrawler::flakySite_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<int>("retries");
    QTest::addColumn<int>("lastPage");
    QTest::newRow("steady site") << 0.0 << 2 << 2;
    QTest::newRow("half failing, one retry") << 0.5 << 1 << 5;
    QTest::newRow("a third failing, no retry") << 0.3 << 0 << 5;
    QTest::newRow("a tenth failing, two retries") << 0.1 << 2 << 3;
}

// Every row of the pages that could be read comes exactly once, in page order; a detail page
// that failed for good leaves its row without a share code; failed pages are named.
void TestCrawler::flakySite()
{
    QFETCH(double, fraction);
    QFETCH(int, retries);
    QFETCH(int, lastPage);
    const DemoSite::Options options{.seed = 11, .failFraction = fraction};
    DemoSite::Server site(options);
    QVERIFY(site.start());

    const Run run = crawl(planFor(site.baseUrl(), 0, lastPage), {.retries = retries, .backoffBase = std::chrono::milliseconds(1)});
    stopSite(site);

    QStringList failedPages;
    int detailsFailed = 0;
    QList<Harvest::ResourceEntry> expected;
    for (int page = 0; page <= lastPage; ++page) {
        if (failsForGood(options, "/act-" + std::to_string(page) + ".html", retries)) {
            failedPages.append(QString::number(page));
            continue;
        }
        int number = 0;
        for (const DemoSite::Entry &entry : site.catalog().listingPage(page)) {
            const bool detailFailed = failsForGood(options, "/id-" + entry.entryId + ".html", retries);
            detailsFailed += detailFailed;
            expected.append({QString::number(++number), QString::fromStdString(entry.title),
                             QString::fromStdString(entry.fileCount),
                             detailFailed ? QString() : QString::fromStdString(entry.shareCode),
                             QString::fromStdString(entry.entryId), QString::fromStdString(entry.extractionCode)});
        }
    }
    if (fraction > 0.2)
        QVERIFY2(!failedPages.isEmpty() && detailsFailed > 0, "the table row should make pages fail for good");

    QList<Harvest::ResourceEntry> written;
    for (const Crawl::CrawlRow &row : run.rows)
        written.append(row.entry);
    QCOMPARE(written, expected);
    QCOMPARE(run.summary.failedPages, failedPages);
    QCOMPARE(run.summary.pagesFailed, int(failedPages.size()));
    QCOMPARE(run.summary.pagesRead, lastPage + 1 - int(failedPages.size()));
    QCOMPARE(run.summary.detailsFailed, detailsFailed);
    QCOMPARE(run.summary.duplicates, 0);
}

void TestCrawler::linkStates_data()
{
    using DemoSite::ShareState;
    QTest::addColumn<ShareState>("share");
    QTest::addColumn<Crawl::LinkState>("state");
    QTest::addColumn<Crawl::DeadReason>("reason");
    QTest::addColumn<int>("requests"); // to the share page
    QTest::addColumn<int>("status");   // the check rests on
    const auto none = Crawl::DeadReason::None;
    QTest::newRow("live") << ShareState::Live << Crawl::LinkState::Live << none << 1 << 200;
    QTest::newRow("needs its code") << ShareState::NeedsCode << Crawl::LinkState::Locked << none << 1 << 200;
    QTest::newRow("404") << ShareState::Gone << Crawl::LinkState::Dead << Crawl::DeadReason::NotFound << 1 << 404;
    // "你来晚了" is an expired wording too, yet the page says the share was cancelled.
    QTest::newRow("cancelled") << ShareState::Cancelled << Crawl::LinkState::Dead << Crawl::DeadReason::Cancelled << 2 << 200;
    QTest::newRow("expired") << ShareState::Expired << Crawl::LinkState::Dead << Crawl::DeadReason::Expired << 2 << 200;
    QTest::newRow("deleted") << ShareState::Deleted << Crawl::LinkState::Dead << Crawl::DeadReason::Deleted << 2 << 200;
    QTest::newRow("no such link") << ShareState::Missing << Crawl::LinkState::Dead << Crawl::DeadReason::NotFound << 2 << 200;
    QTest::newRow("violation") << ShareState::Violation << Crawl::LinkState::Dead << Crawl::DeadReason::Violation << 2 << 200;
    QTest::newRow("429") << ShareState::Throttled << Crawl::LinkState::Limited << none << 1 << 429;
    QTest::newRow("flaky") << ShareState::Flaky << Crawl::LinkState::Unknown << none << 2 << 200;
}

// A share of each state of the demo site, checked with the built-in rules: a page that reads
// dead by its wording is asked once more, no sooner than the recheck gap.
void TestCrawler::linkStates()
{
    QFETCH(DemoSite::ShareState, share);
    QFETCH(Crawl::LinkState, state);
    QFETCH(Crawl::DeadReason, reason);
    QFETCH(int, requests);
    QFETCH(int, status);
    DemoSite::Server site(DemoSite::Options{.seed = 5});
    QVERIFY(site.start());
    const std::optional<DemoSite::Entry> entry = DemoSiteRows::firstShareIn(site.catalog(), share);
    QVERIFY(entry);
    const QString url = DemoSiteRows::endpointsOf(site).sharePrefix + QString::fromStdString(entry->shareCode);
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({.retries = 0}, stop);
    const QDateTime before = QDateTime::currentDateTimeUtc();
    const Crawl::LinkCheck check = Crawl::checkShare(fetcher, url, Config::SiteProfile().shareRules);
    stopSite(site);

    QCOMPARE(check.verdict, (Crawl::LinkVerdict{state, reason}));
    QCOMPARE(check.status, status);
    QVERIFY(check.checkedAt >= before && check.checkedAt <= QDateTime::currentDateTimeUtc());
    const std::vector<DemoSite::Visit> visits = DemoSiteRows::shareVisits(site);
    QCOMPARE(int(visits.size()), requests);
    if (requests == 2)
        QVERIFY(visits[1].at - visits[0].at >= Crawl::kRecheckGap);
}

void TestCrawler::shareAnswers_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("body");
    QTest::addColumn<Crawl::LinkState>("state");
    QTest::addColumn<Crawl::DeadReason>("reason");
    const int http = int(Crawl::Answer::Kind::Http);
    const auto none = Crawl::DeadReason::None;
    QTest::newRow("page") << http << 200 << u"<p>share</p>"_s << Crawl::LinkState::Live << none;
    QTest::newRow("404") << http << 404 << u"<p>share</p>"_s << Crawl::LinkState::Dead << Crawl::DeadReason::NotFound;
    QTest::newRow("410") << http << 410 << QString() << Crawl::LinkState::Dead << Crawl::DeadReason::NotFound;
    QTest::newRow("wording under 403") << http << 403 << u"分享已取消"_s << Crawl::LinkState::Dead << Crawl::DeadReason::Cancelled;
    QTest::newRow("403 without a wording") << http << 403 << u"<p>no</p>"_s << Crawl::LinkState::Unknown << none;
    QTest::newRow("dead over a captcha") << http << 200 << u"验证码 已过期"_s << Crawl::LinkState::Dead << Crawl::DeadReason::Expired;
    QTest::newRow("captcha over the code") << http << 200 << u"请输入提取码 验证码"_s << Crawl::LinkState::Limited << none;
    QTest::newRow("wrong code") << http << 200 << u"提取码错误"_s << Crawl::LinkState::Locked << none;
    QTest::newRow("too many visits") << http << 200 << u"访问过于频繁"_s << Crawl::LinkState::Limited << none;
    QTest::newRow("429 with a dead wording") << http << 429 << u"分享已取消"_s << Crawl::LinkState::Limited << none;
    QTest::newRow("empty page") << http << 200 << QString() << Crawl::LinkState::Unknown << none;
    // A server in trouble says nothing of the share, whatever its page holds.
    QTest::newRow("503 with a dead wording") << http << 503 << u"分享已取消"_s << Crawl::LinkState::Unknown << none;
    QTest::newRow("no answer") << int(Crawl::Answer::Kind::Transport) << 0 << QString() << Crawl::LinkState::Unknown << none;
    QTest::newRow("host given up") << int(Crawl::Answer::Kind::GivenUp) << 0 << QString() << Crawl::LinkState::Unknown << none;
}

void TestCrawler::shareAnswers()
{
    QFETCH(int, kind);
    QFETCH(int, status);
    QFETCH(QString, body);
    QFETCH(Crawl::LinkState, state);
    QFETCH(Crawl::DeadReason, reason);
    const Crawl::Answer answer{Crawl::Answer::Kind(kind), status, body, {}};
    QCOMPARE(Crawl::classifyShare(answer, Config::SiteProfile().shareRules), (Crawl::LinkVerdict{state, reason}));
}

void TestCrawler::freshness_data()
{
    QTest::addColumn<Crawl::LinkState>("state");
    QTest::addColumn<int>("ageSeconds"); // of the earlier check; -1: it has no time
    QTest::addColumn<QString>("maxAge"); // empty: none given
    QTest::addColumn<bool>("recheck");
    QTest::addColumn<bool>("taken");
    QTest::newRow("live of 23 h") << Crawl::LinkState::Live << 23 * 3600 << QString() << false << true;
    QTest::newRow("live of 25 h") << Crawl::LinkState::Live << 25 * 3600 << QString() << false << false;
    QTest::newRow("limited of 11 min") << Crawl::LinkState::Limited << 11 * 60 << QString() << false << false;
    QTest::newRow("dead of 5 h") << Crawl::LinkState::Dead << 5 * 3600 << QString() << false << true;
    QTest::newRow("dead of 5 h, max age 30m") << Crawl::LinkState::Dead << 5 * 3600 << u"30m"_s << false << false;
    QTest::newRow("limited of 1 h, max age 2d") << Crawl::LinkState::Limited << 3600 << u"2d"_s << false << true;
    QTest::newRow("max age in seconds") << Crawl::LinkState::Live << 100 << u"90"_s << false << false;
    QTest::newRow("recheck") << Crawl::LinkState::Live << 1 << QString() << true << false;
    QTest::newRow("from the future") << Crawl::LinkState::Live << -3600 << QString() << false << false;
    QTest::newRow("without a time") << Crawl::LinkState::Live << -1 << QString() << false << false;
}

// Which earlier check the crawl takes instead of asking the share.
void TestCrawler::freshness()
{
    QFETCH(Crawl::LinkState, state);
    QFETCH(int, ageSeconds);
    QFETCH(QString, maxAge);
    QFETCH(bool, recheck);
    QFETCH(bool, taken);
    const QDateTime checkedAt = ageSeconds == -1 ? QDateTime() : QDateTime::currentDateTimeUtc().addSecs(-ageSeconds);
    const Crawl::LinkCheck earlier{{state, Crawl::DeadReason::None}, checkedAt, 200};
    const auto age = maxAge.isEmpty() ? std::nullopt : Crawl::parseAge(maxAge);
    QCOMPARE(age.has_value(), !maxAge.isEmpty());
    const Crawl::CachedLink cached = Crawl::freshChecks([&](const QString &) { return std::optional(earlier); }, recheck, age);
    QCOMPARE(cached(u"http://disk/s/1"_s).has_value(), taken);
}

void TestCrawler::cachedLinks_data()
{
    QTest::addColumn<QList<Crawl::LinkState>>("written");
    QTest::addColumn<bool>("rowsOut");
    QTest::newRow("every row") << QList<Crawl::LinkState>{} << true;
    QTest::newRow("dead rows") << QList<Crawl::LinkState>{Crawl::LinkState::Dead} << true;
    QTest::newRow("live and locked rows") << QList<Crawl::LinkState>{Crawl::LinkState::Live, Crawl::LinkState::Locked} << false;
}

// Earlier checks the caller still trusts: no share page is asked, the rows carry those checks and
// are written by their state.
void TestCrawler::cachedLinks()
{
    QFETCH(QList<Crawl::LinkState>, written);
    QFETCH(bool, rowsOut);
    DemoSite::Server site(DemoSite::Options{.seed = 5});
    QVERIFY(site.start());
    Crawl::CrawlPlan plan = planFor(site.baseUrl(), 0, 0);
    plan.checkLinks = true;
    plan.writtenStates = written;
    const Crawl::LinkCheck earlier{{Crawl::LinkState::Dead, Crawl::DeadReason::Expired},
                                   QDateTime::currentDateTimeUtc().addSecs(-60), 200};
    QStringList asked;
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({}, stop);
    Crawl::CrawlCallbacks callbacks;
    QList<Crawl::CrawlRow> rows;
    callbacks.row = [&](const Crawl::CrawlRow &row) {
        rows.append(row);
        return true;
    };
    callbacks.cachedLink = Crawl::freshChecks(
        [&](const QString &url) {
            asked.append(url);
            return std::optional(earlier);
        },
        false, std::nullopt);
    const Crawl::CrawlSummary summary = Crawl::Crawler(plan, fetcher).run(callbacks);
    stopSite(site);

    const int shares = int(site.catalog().listingPage(0).size());
    QCOMPARE(DemoSiteRows::shareVisits(site).size(), size_t(0));
    QCOMPARE(asked.size(), shares);
    QCOMPARE(summary.links[Crawl::LinkState::Dead], shares);
    QCOMPARE(summary.rowsWritten, rowsOut ? shares : 0);
    QCOMPARE(rows.size(), summary.rowsWritten);
    for (const Crawl::CrawlRow &row : rows) {
        QVERIFY(asked.contains(row.shareUrl));
        QCOMPARE(row.link->verdict, earlier.verdict);
        QCOMPARE(row.link->checkedAt, earlier.checkedAt);
    }
}

// Page 1 repeats an entry of page 0, shows another share code of page 0 under a new id, and
// repeats an entry whose detail page holds no share link; a new entry without one still counts.
void TestCrawler::duplicatesAcrossPages()
{
    LoopbackServer server;
    const auto id = [](char c) { return QString(18, QChar::fromLatin1(c)); };
    const QString page0 = listingEntry(id('a'), u"甲, \"一\""_s) + listingEntry(id('b'), u"乙"_s) + listingEntry(id('c'), u"丙"_s);
    const QString page1 = listingEntry(id('a'), u"甲"_s) + listingEntry(id('d'), u"丁"_s) + listingEntry(id('c'), u"丙"_s)
        + listingEntry(id('e'), u"戊"_s);
    const QHash<QString, QString> codes{{id('a'), u"X1"_s}, {id('b'), u"Y2"_s}, {id('d'), u"X1"_s}};
    server.server().Get(R"(/act-(\d)\.html)", [&](const httplib::Request &request, httplib::Response &response) {
        response.set_content((request.matches[1] == "0" ? page0 : page1).toStdString(), "text/html; charset=utf-8");
    });
    server.server().Get(R"(/id-(\w+)\.html)", [&](const httplib::Request &request, httplib::Response &response) {
        const QString code = codes.value(QString::fromStdString(request.matches[1]));
        const QString link = code.isEmpty() ? QString() : u"<a href=\""_s + server.baseUrl() + u"s/"_s + code + u"\">"_s;
        response.set_content(QString(u"<p>"_s + link + u"</p>"_s).toStdString(), "text/html; charset=utf-8");
    });
    QVERIFY(server.start());
    Crawl::CrawlPlan plan = planFor(server.baseUrl().toStdString(), 0, 1);
    plan.sharePrefix = server.baseUrl() + u"s/"_s;
    const Run run = crawl(plan);

    QStringList written;
    for (const Crawl::CrawlRow &row : run.rows)
        written.append(row.entry.title + u'|' + row.entry.shareCode + u'|' + QString::number(row.page.value_or(-1)));
    QCOMPARE(written, (QStringList{u"甲, \"一\"|X1|0"_s, u"乙|Y2|0"_s, u"丙||0"_s, u"戊||1"_s}));
    QCOMPARE(run.summary.duplicates, 3);
    QCOMPARE(run.requests, 2 + 5); // two listings; the repeated ids cost no detail request
    Net::networkManager().clearConnectionCache();
}

void TestCrawler::retries_data()
{
    QTest::addColumn<QStringList>("script"); // answers in order, the last one repeating
    QTest::addColumn<int>("retries");
    QTest::addColumn<int>("status");   // of the final answer; 0 when no answer came
    QTest::addColumn<int>("requests");
    QTest::newRow("500 twice, then the page") << QStringList{u"500"_s, u"500"_s, u"200"_s} << 2 << 200 << 3;
    QTest::newRow("502 three times") << QStringList{u"502"_s} << 2 << 502 << 3;
    QTest::newRow("429, then the page") << QStringList{u"429"_s, u"200"_s} << 2 << 200 << 2;
    QTest::newRow("404 is not retried") << QStringList{u"404"_s, u"200"_s} << 2 << 404 << 1;
    // Statuses Qt files under protocol or proxy errors are answers all the same.
    QTest::newRow("400 is not retried") << QStringList{u"400"_s, u"200"_s} << 2 << 400 << 1;
    QTest::newRow("407 is not retried") << QStringList{u"407"_s, u"200"_s} << 2 << 407 << 1;
    QTest::newRow("418 is not retried") << QStringList{u"418"_s, u"200"_s} << 2 << 418 << 1;
    QTest::newRow("dropped, then the page") << QStringList{u"drop"_s, u"200"_s} << 2 << 200 << 2;
    QTest::newRow("dropped for good") << QStringList{u"drop"_s} << 1 << 0 << 2;
    QTest::newRow("no retries") << QStringList{u"500"_s, u"200"_s} << 0 << 500 << 1;
}

void TestCrawler::retries()
{
    QFETCH(QStringList, script);
    QFETCH(int, retries);
    QFETCH(int, status);
    QFETCH(int, requests);
    LoopbackServer server;
    std::atomic<int> served{0};
    server.server().Get("/page", [&](const httplib::Request &, httplib::Response &response) {
        const QString step = script.at(qMin<qsizetype>(served++, script.size() - 1));
        if (step == u"drop") {
            response.set_content_provider(1000, "text/html", [](size_t, size_t, httplib::DataSink &sink) {
                sink.write("<p>", 3);
                return false;
            });
            return;
        }
        response.status = step.toInt();
        response.set_content("<p>body</p>", "text/html");
    });
    QVERIFY(server.start());

    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({.retries = retries, .backoffBase = std::chrono::milliseconds(1)}, stop);
    const Crawl::Answer answer = fetcher.get(server.baseUrl() + u"page"_s);
    QCOMPARE(answer.kind, status ? Crawl::Answer::Kind::Http : Crawl::Answer::Kind::Transport);
    QCOMPARE(answer.status, status);
    QCOMPARE(fetcher.requestsSent(), requests);
    QCOMPARE(served.load(), requests);
    if (status)
        QCOMPARE(answer.body, u"<p>body</p>"_s);
    Net::networkManager().clearConnectionCache();
}

void TestCrawler::waits_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("backoffMs");
    QTest::addColumn<int>("failuresFirst"); // 500 answers before the pages
    QTest::addColumn<int>("gets");
    QTest::addColumn<int>("leastMs");
    QTest::newRow("pause between requests to the host") << 120 << 1 << 0 << 3 << 240;
    // Retry waits are base * 2^n, of which jitter takes at most half: 100/2 + 200/2.
    QTest::newRow("backoff doubles") << 0 << 100 << 2 << 1 << 150;
}

void TestCrawler::waits()
{
    QFETCH(int, delayMs);
    QFETCH(int, backoffMs);
    QFETCH(int, failuresFirst);
    QFETCH(int, gets);
    QFETCH(int, leastMs);
    LoopbackServer server;
    std::atomic<int> served{0};
    server.server().Get("/page", [&](const httplib::Request &, httplib::Response &response) {
        response.status = served++ < failuresFirst ? 500 : 200;
        response.set_content("<p>body</p>", "text/html");
    });
    QVERIFY(server.start());
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher(
        {.delay = std::chrono::milliseconds(delayMs), .jitter = 0, .backoffBase = std::chrono::milliseconds(backoffMs)}, stop);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < gets; ++i)
        QCOMPARE(fetcher.get(server.baseUrl() + u"page"_s).status, 200);
    QVERIFY2(clock.elapsed() >= leastMs, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(clock.elapsed() < leastMs + 5000);
    Net::networkManager().clearConnectionCache();
}

// A pause before the next request to the host: the stop switch ends it at once, and nothing more
// is sent; the answer of a request in flight is still read.
void TestCrawler::stopCutsWaitsButNotTheRequest()
{
    LoopbackServer server;
    server.server().Get("/slow", [](const httplib::Request &, httplib::Response &response) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        response.set_content("<p>late</p>", "text/html");
    });
    QVERIFY(server.start());
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({.delay = std::chrono::seconds(20)}, stop);
    QTimer::singleShot(250, &stop, &Crawl::StopSwitch::turnOn);
    QElapsedTimer clock;
    clock.start();
    const Crawl::Answer first = fetcher.get(server.baseUrl() + u"slow"_s);
    QCOMPARE(first.body, u"<p>late</p>"_s);
    const Crawl::Answer second = fetcher.get(server.baseUrl() + u"slow"_s);
    QCOMPARE(second.kind, Crawl::Answer::Kind::Stopped);
    QVERIFY(clock.elapsed() < 5000);
    QCOMPARE(fetcher.requestsSent(), 1);
    Net::networkManager().clearConnectionCache();
}

// A Crawl-delay of 100 s becomes the longest pause, 60 s, and the user is told; the stop switch,
// turned on at the notice, ends the wait for the first page at once.
void TestCrawler::crawlDelayIsCutToTheLongestPause()
{
    LoopbackServer server;
    server.server().Get("/robots.txt", [](const httplib::Request &, httplib::Response &response) {
        response.set_content("User-agent: *\nCrawl-delay: 100\n", "text/plain");
    });
    QVERIFY(server.start());
    Crawl::CrawlPlan plan = planFor(server.baseUrl().toStdString(), 0, 0);
    plan.obeyRobots = true;
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({}, stop);
    QStringList notices;
    Crawl::CrawlCallbacks callbacks;
    callbacks.row = [](const Crawl::CrawlRow &) { return true; };
    callbacks.notice = [&](const QString &line) {
        notices.append(line);
        stop.turnOn();
    };
    QElapsedTimer clock;
    clock.start();
    const Crawl::CrawlSummary summary = Crawl::Crawler(plan, fetcher).run(callbacks);
    QCOMPARE(notices.size(), 1);
    QVERIFY2(notices[0].contains(u"Crawl-delay of 100 s, more than the longest pause; 60 s at least"_s), qPrintable(notices[0]));
    QVERIFY(summary.stopped && clock.elapsed() < 5000);
    QCOMPARE(fetcher.requestsSent(), 1);
    Net::networkManager().clearConnectionCache();
}

void TestCrawler::leastPause_data()
{
    QTest::addColumn<int>("minimumDelayMs"); // the site profile's
    QTest::addColumn<QString>("crawlDelay"); // robots.txt's
    QTest::addColumn<int>("leastMs");        // between two requests
    QTest::newRow("the profile's") << 150 << u"0.05"_s << 150;
    QTest::newRow("robots.txt's") << 50 << u"0.15"_s << 150;
}

// The larger of the profile's minimum delay and robots.txt's Crawl-delay is kept between any two
// requests to the site (robots.txt, the listing, two detail pages), whatever the jitter.
void TestCrawler::leastPause()
{
    QFETCH(int, minimumDelayMs);
    QFETCH(QString, crawlDelay);
    QFETCH(int, leastMs);
    LoopbackServer server;
    server.server().Get("/robots.txt", [&](const httplib::Request &, httplib::Response &response) {
        response.set_content("User-agent: *\nCrawl-delay: " + crawlDelay.toStdString() + "\n", "text/plain");
    });
    server.server().Get(R"(/act-0\.html)", [](const httplib::Request &, httplib::Response &response) {
        response.set_content(QString(listingEntry(QString(18, u'a'), u"甲"_s) + listingEntry(QString(18, u'b'), u"乙"_s)).toStdString(),
                             "text/html; charset=utf-8");
    });
    server.server().Get(R"(/id-\w+\.html)", [](const httplib::Request &, httplib::Response &response) {
        response.set_content("<p></p>", "text/html");
    });
    QVERIFY(server.start());
    Crawl::CrawlPlan plan = planFor(server.baseUrl().toStdString(), 0, 0);
    plan.obeyRobots = true;
    plan.profile.minimumDelay = std::chrono::milliseconds(minimumDelayMs);
    QElapsedTimer clock;
    clock.start();
    const Run run = crawl(plan, {.jitter = 1});
    QCOMPARE(run.rows.size(), 2);
    QCOMPARE(run.requests, 4);
    QVERIFY2(clock.elapsed() >= 3 * leastMs, qPrintable(QString::number(clock.elapsed())));
    Net::networkManager().clearConnectionCache();
}

void TestCrawler::requestsAtOnce_data()
{
    QTest::addColumn<int>("concurrency");
    QTest::addColumn<int>("perHost");
    QTest::newRow("one at a time") << 1 << 2;
    QTest::newRow("4 in all, 2 to each host") << 4 << 2;
    QTest::newRow("3 in all, 2 to each host") << 3 << 2;
    QTest::newRow("8 in all, 1 to each host") << 8 << 1;
}

// Four requests to each of two hosts (two names of one site) that take their time: the site
// answers as many at once as both caps allow, never more.
void TestCrawler::requestsAtOnce()
{
    QFETCH(int, concurrency);
    QFETCH(int, perHost);
    DemoSite::Server site(DemoSite::Options{.latencyMs = 60});
    QVERIFY(site.start());
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({.concurrency = concurrency, .perHost = perHost}, stop);
    const QString port = QString::number(site.port());
    int answered = 0;
    for (const QString &host : {u"127.0.0.1"_s, u"localhost"_s}) {
        for (int i = 0; i < 4; ++i)
            fetcher.fetch(u"http://"_s + host + u':' + port + u"/robots.txt"_s, Crawl::Fetcher::BodyText::Utf8,
                          [&answered](const Crawl::Answer &answer) { answered += answer.isOk() ? 1 : 0; });
    }
    QTRY_COMPARE_WITH_TIMEOUT(answered, 8, 10000);
    QCOMPARE(site.maxConcurrentRequests(), std::min(concurrency, 2 * perHost));
    Net::networkManager().clearConnectionCache();
}

// What a caller waits for now goes before what was asked ahead; a cancelled request is not sent
// and its callback never called.
void TestCrawler::queueOrder()
{
    DemoSite::Server site(DemoSite::Options{.latencyMs = 20});
    QVERIFY(site.start());
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({}, stop);
    const QString base = QString::fromStdString(site.baseUrl());
    QStringList answered;
    const auto ask = [&](const QString &path, Crawl::Fetcher::Order order = Crawl::Fetcher::Order::Queued) {
        return fetcher.fetch(base + path, Crawl::Fetcher::BodyText::Page,
                             [&answered, path](const Crawl::Answer &) { answered.append(path); }, {}, order);
    };
    ask(u"a"_s);
    ask(u"b"_s);
    fetcher.cancel(ask(u"c"_s));
    ask(u"d"_s, Crawl::Fetcher::Order::First);
    QTRY_COMPARE_WITH_TIMEOUT(answered.size(), 3, 10000);
    QCOMPARE(answered, (QStringList{u"a"_s, u"d"_s, u"b"_s}));
    QCOMPARE(fetcher.requestsSent(), 3);
    Net::networkManager().clearConnectionCache();
}

QTEST_GUILESS_MAIN(TestCrawler)
#include "tst_crawler.moc"
