// A 10-page crawl against the demo site next to the bare GETs of the same URLs made one after
// another on the same connection (no decoding, no parsing): the difference is what the crawl
// adds. The same with the share links checked, and with robots.txt read and obeyed next to the
// crawl without it (what minding robots.txt costs), and the crawl that records every row in a
// library next to the one that does not, in the program and through the command-line tool
// (--library FILE next to --no-library), the tool's also against a site that answers after 2 ms:
// recording costs about the same milliseconds a crawl whatever the site's pace. Then the peak memory of the command-line tool crawling
// 1 page and 150 pages, which should be about the same: rows are streamed, not kept.
#include "childpeak.h"
#include "crawl/crawler.h"
#include "crawl/rowformat.h"
#include "demo-site/server.h"
#include "harvest/siteurls.h"
#include "config/endpoints.h"
#include "library/crawlsighting.h"
#include "library/recorder.h"
#include "library/store.h"
#include "net/networkaccess.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kPages = 10;
constexpr int kRounds = 9;

struct Fixture
{
    DemoSite::Server site{DemoSite::Options{.steadyShares = true}}; // no share page makes the crawl wait
    DemoSite::Server slowSite{DemoSite::Options{.latencyMs = 2, .steadyShares = true}};
    Crawl::CrawlPlan plan;
    QStringList pageUrls;  // listing and detail pages of pages 0..9
    QStringList shareUrls; // their share links
    int rows = 0;
    QTemporaryDir dir;
    QString libraryPath; // the library the recording crawls write to, in the program and in the tool
    std::unique_ptr<Library::Store> library;
};

Fixture *g_fixture = nullptr;
std::map<std::string, double> g_seconds;

bool setUp(Fixture &fixture)
{
    if (!fixture.site.start() || !fixture.slowSite.start())
        return false;
    const Config::Endpoints site = Config::Endpoints::onDemoSite(QString::fromStdString(fixture.site.baseUrl()));
    fixture.plan.shareSite = site.shareSite;
    fixture.plan.sharePrefix = site.sharePrefix;
    fixture.plan.lastPage = kPages - 1;
    // A share that reads dead is looked at again at once rather than after the 2 s a real site
    // gets: the pause is no work of the crawl's, and it would swamp the ratio.
    fixture.plan.recheckGap = std::chrono::milliseconds(0);
    for (int page = 0; page < kPages; ++page) {
        fixture.pageUrls.append(Harvest::listingUrl(fixture.plan.shareSite, fixture.plan.profile, static_cast<qint16>(page)));
        for (const DemoSite::Entry &entry : fixture.site.catalog().listingPage(page)) {
            fixture.pageUrls.append(Harvest::detailUrl(fixture.plan.shareSite, fixture.plan.profile, QString::fromStdString(entry.entryId)));
            fixture.shareUrls.append(fixture.plan.sharePrefix + QString::fromStdString(entry.shareCode));
            ++fixture.rows;
        }
    }
    if (!fixture.dir.isValid())
        return false;
    fixture.libraryPath = fixture.dir.filePath(QStringLiteral("library.sqlite"));
    fixture.library = Library::openStore(fixture.libraryPath).store;
    return fixture.library != nullptr;
}

// One whole crawl of the ten pages, rows written as jsonl to /dev/null and, with a store, recorded
// in it as the command-line tool does; false when a row is missing or could not be recorded.
bool crawlOnce(bool checkLinks, bool obeyRobots = false, Library::Store *store = nullptr)
{
    Crawl::CrawlPlan plan = g_fixture->plan;
    plan.checkLinks = checkLinks;
    plan.obeyRobots = obeyRobots;
    QFile sink(QStringLiteral("/dev/null"));
    if (!sink.open(QIODevice::WriteOnly))
        return false;
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({}, stop);
    Crawl::Crawler crawler(plan, fetcher);
    bool recorded = true;
    Library::Recorder recorder(store, Library::RunKind::Crawl, Library::crawlSubject(plan),
                               [&recorded](const QString &) { recorded = false; }, Library::Recorder::Writing::Background);
    Crawl::CrawlCallbacks callbacks;
    callbacks.row = [&sink, &recorder, &plan](const Crawl::CrawlRow &row) {
        recorder.settle();
        if (sink.write(Crawl::formatRow(Crawl::Format::Jsonl, row).toUtf8()) < 0)
            return false;
        recorder.record(Library::sightingOf(row, plan.keyword));
        return true;
    };
    return crawler.run(callbacks).rowsWritten == g_fixture->rows && recorded;
}

void crawl(benchmark::State &state, bool checkLinks, bool obeyRobots = false, Library::Store *store = nullptr)
{
    for (auto _ : state) {
        if (!crawlOnce(checkLinks, obeyRobots, store))
            state.SkipWithError("the crawl did not write or record every row");
    }
}

// The command-line tool crawling the ten pages of site into the fixture's library, or with --no-library.
bool toolCrawlOnce(bool library, const DemoSite::Server &site)
{
    const Config::Endpoints endpoints = Config::Endpoints::onDemoSite(QString::fromStdString(site.baseUrl()));
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    const QStringList where = library ? QStringList{QStringLiteral("--library"), g_fixture->libraryPath}
                                      : QStringList{QStringLiteral("--no-library")};
    tool.start(QStringLiteral(CLI_EXECUTABLE),
               where + QStringList{QStringLiteral("--share-site"), endpoints.shareSite, QStringLiteral("--share-prefix"),
                                   endpoints.sharePrefix, QStringLiteral("crawl"), QStringLiteral("--pages"),
                                   QStringLiteral("0-%1").arg(kPages - 1)});
    return tool.waitForFinished(60000) && tool.exitCode() == 0;
}

void toolCrawl(benchmark::State &state, bool library, const DemoSite::Server &site)
{
    for (auto _ : state) {
        if (!toolCrawlOnce(library, site))
            state.SkipWithError("the command-line tool failed");
    }
}

// One GET as plainly as the network manager does it: no header, no decoding.
bool bareGet(const QString &url)
{
    const std::unique_ptr<QNetworkReply> reply(Net::networkManager().get(QNetworkRequest(QUrl(url))));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return !reply->readAll().isEmpty();
}

bool bareOnce(bool withShares)
{
    bool ok = true;
    for (const QString &url : withShares ? g_fixture->pageUrls + g_fixture->shareUrls : g_fixture->pageUrls)
        ok = bareGet(url) && ok;
    return ok;
}

void bare(benchmark::State &state, bool withShares)
{
    for (auto _ : state) {
        if (!bareOnce(withShares))
            state.SkipWithError("a request failed");
    }
}

// The ratio of the medians of two runs taken turn about, so that a change in the machine's load
// between two runs weighs on both alike.
double interleavedRatio(const std::function<void()> &product, const std::function<void()> &reference, int rounds)
{
    std::vector<double> products;
    std::vector<double> references;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        product();
        products.push_back(static_cast<double>(clock.nsecsElapsed()));
        clock.restart();
        reference();
        references.push_back(static_cast<double>(clock.nsecsElapsed()));
    }
    const auto median = [](std::vector<double> &values) {
        std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
        return values[values.size() / 2];
    };
    return median(products) / median(references);
}

void BM_Crawl10Pages(benchmark::State &state) { crawl(state, false); }
void BM_Crawl10PagesRobots(benchmark::State &state) { crawl(state, false, true); }
void BM_Bare10Pages(benchmark::State &state) { bare(state, false); }
void BM_Crawl10PagesCheckLinks(benchmark::State &state) { crawl(state, true); }
void BM_Bare10PagesAndShares(benchmark::State &state) { bare(state, true); }
void BM_Crawl10PagesRecorded(benchmark::State &state) { crawl(state, false, false, g_fixture->library.get()); }
void BM_Tool10PagesLibrary(benchmark::State &state) { toolCrawl(state, true, g_fixture->site); }
void BM_Tool10PagesNoLibrary(benchmark::State &state) { toolCrawl(state, false, g_fixture->site); }
void BM_Tool10PagesLibrarySlowSite(benchmark::State &state) { toolCrawl(state, true, g_fixture->slowSite); }
void BM_Tool10PagesNoLibrarySlowSite(benchmark::State &state) { toolCrawl(state, false, g_fixture->slowSite); }
// Medians of five runs each: one run of a few hundred loopback requests swings with the load of
// the machine.
BENCHMARK(BM_Crawl10Pages)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Crawl10PagesRobots)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Bare10Pages)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Crawl10PagesCheckLinks)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Bare10PagesAndShares)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Crawl10PagesRecorded)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Tool10PagesLibrary)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Tool10PagesNoLibrary)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Tool10PagesLibrarySlowSite)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Tool10PagesNoLibrarySlowSite)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && run.iterations > 0)
                g_seconds[run.run_name.function_name] = run.real_accumulated_time / static_cast<double>(run.iterations);
        }
    }
};

void printRatio(const char *what, const std::string &product, const std::string &reference)
{
    const auto p = g_seconds.find(product);
    const auto r = g_seconds.find(reference);
    if (p != g_seconds.end() && r != g_seconds.end() && r->second > 0)
        std::printf("%s: %.3f\n", what, p->second / r->second);
}

// Runs the command-line tool over pages 0..last and returns the largest peak RSS of any child so
// far, in KiB; -1 when the tool did not end well.
long childPeakKiB(const Fixture &fixture, int last)
{
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(QStringLiteral(CLI_EXECUTABLE),
               {QStringLiteral("--library"), fixture.libraryPath, QStringLiteral("--share-site"), fixture.plan.shareSite, QStringLiteral("--share-prefix"),
                fixture.plan.sharePrefix, QStringLiteral("crawl"), QStringLiteral("--check-links"),
                QStringLiteral("--pages"), QStringLiteral("0-%1").arg(last)});
    if (!tool.waitForFinished(600000) || tool.exitCode() != 0)
        return -1;
    return childrenPeakKiB();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture fixture;
    if (!setUp(fixture)) {
        std::fprintf(stderr, "bench_crawl: the demo site did not start\n");
        return EXIT_FAILURE;
    }
    g_fixture = &fixture;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatio("crawl / bare requests (10 pages)", "BM_Crawl10Pages", "BM_Bare10Pages");
    printRatio("crawl --check-links / bare requests with share pages", "BM_Crawl10PagesCheckLinks",
               "BM_Bare10PagesAndShares");
    printRatio("crawl --robots obey / crawl without robots.txt (10 pages)", "BM_Crawl10PagesRobots", "BM_Crawl10Pages");
    printRatio("crawl recorded in the library / crawl (10 pages)", "BM_Crawl10PagesRecorded", "BM_Crawl10Pages");
    printRatio("vorlen360-cli crawl --library FILE / --no-library (10 pages)", "BM_Tool10PagesLibrary",
               "BM_Tool10PagesNoLibrary");
    printRatio("the same, the site answering after 2 ms", "BM_Tool10PagesLibrarySlowSite", "BM_Tool10PagesNoLibrarySlowSite");
    std::printf("taken turn about, medians of %d rounds: crawl / bare %.3f, with links %.3f, "
                "crawl --robots obey / crawl %.3f, recorded / not %.3f, tool --library / --no-library %.3f, the same "
                "after 2 ms %.3f\n",
                kRounds, interleavedRatio([] { crawlOnce(false); }, [] { bareOnce(false); }, kRounds),
                interleavedRatio([] { crawlOnce(true); }, [] { bareOnce(true); }, kRounds),
                interleavedRatio([] { crawlOnce(false, true); }, [] { crawlOnce(false); }, kRounds),
                interleavedRatio([] { crawlOnce(false, false, g_fixture->library.get()); }, [] { crawlOnce(false); }, kRounds),
                interleavedRatio([] { toolCrawlOnce(true, g_fixture->site); }, [] { toolCrawlOnce(false, g_fixture->site); }, kRounds),
                interleavedRatio([] { toolCrawlOnce(true, g_fixture->slowSite); }, [] { toolCrawlOnce(false, g_fixture->slowSite); },
                                 kRounds));
    Net::networkManager().clearConnectionCache();
    const long onePage = childPeakKiB(fixture, 0);
    const long allPages = childPeakKiB(fixture, DemoSite::Catalog::kLastPage);
    std::printf("peak RSS of vorlen360-cli crawl --check-links: 1 page %ld KiB, %d pages %ld KiB\n", onePage,
                DemoSite::Catalog::kLastPage + 1, allPages);
    fixture.site.stop();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
