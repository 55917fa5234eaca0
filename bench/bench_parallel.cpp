// The command-line tool crawling 10 pages of a demo site that takes 50 ms over every answer,
// with --concurrency 8 --per-host 8 next to one request after the other (--concurrency 1), with
// and without --check-links: the time of each, their ratio, whether the rows are the same bytes,
// and the most requests the site answered at once. Then the peak memory of the tool crawling
// every page of the catalogue 8 at a time next to one page: what it holds ahead is bounded.
#include "childpeak.h"
#include "config/endpoints.h"
#include "demo-site/server.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr int kLatencyMs = 50;

struct Outcome
{
    QByteArray rows;
    bool ok = false;
};

std::map<std::string, Outcome> g_outcomes;
std::map<std::string, double> g_seconds;

// vorlen360-cli crawl against site with the options given; its rows without the time of each
// check and the site's address (all that two runs on two sites cannot share).
Outcome crawl(const DemoSite::Server &site, const QStringList &options)
{
    const Config::Endpoints endpoints = Config::Endpoints::onDemoSite(QString::fromStdString(site.baseUrl()));
    QProcess tool;
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(QStringLiteral(CLI_EXECUTABLE), QStringList{QStringLiteral("--no-library"), QStringLiteral("--share-site"),
                                                           endpoints.shareSite, QStringLiteral("--share-prefix"),
                                                           endpoints.sharePrefix, QStringLiteral("crawl")}
                                                   + options);
    Outcome outcome;
    outcome.ok = tool.waitForFinished(-1) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    outcome.rows = QString::fromUtf8(tool.readAllStandardOutput())
                       .remove(QRegularExpression(QStringLiteral(",\"checkedAt\":\"[^\"]*\"")))
                       .remove(QString::fromStdString(site.baseUrl()))
                       .toUtf8();
    return outcome;
}

void crawlBench(benchmark::State &state, const std::string &name, const char *concurrency, bool checkLinks)
{
    DemoSite::Server site(DemoSite::Options{.latencyMs = kLatencyMs, .steadyShares = true});
    if (!site.start()) {
        state.SkipWithError("the demo site did not start");
        return;
    }
    QStringList options{QStringLiteral("--pages"), QStringLiteral("0-9"), QStringLiteral("--concurrency"),
                        QString::fromLatin1(concurrency), QStringLiteral("--per-host"), QString::fromLatin1(concurrency)};
    if (checkLinks)
        options.append(QStringLiteral("--check-links"));
    for (auto _ : state) {
        Outcome outcome = crawl(site, options);
        if (!outcome.ok)
            state.SkipWithError("the crawl failed");
        g_outcomes[name] = std::move(outcome);
    }
    state.counters["most at once"] = site.maxConcurrentRequests();
}

void BM_Crawl10PagesOneByOne(benchmark::State &state) { crawlBench(state, __func__, "1", false); }
void BM_Crawl10Pages8AtATime(benchmark::State &state) { crawlBench(state, __func__, "8", false); }
void BM_CheckLinks10PagesOneByOne(benchmark::State &state) { crawlBench(state, __func__, "1", true); }
void BM_CheckLinks10Pages8AtATime(benchmark::State &state) { crawlBench(state, __func__, "8", true); }
BENCHMARK(BM_Crawl10PagesOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Crawl10Pages8AtATime)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CheckLinks10PagesOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CheckLinks10Pages8AtATime)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

class TimeReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            g_seconds[run.run_name.function_name] = run.real_accumulated_time;
    }
};

void compare(const char *what, const std::string &product, const std::string &reference)
{
    const auto p = g_seconds.find(product);
    const auto r = g_seconds.find(reference);
    if (p == g_seconds.end() || r == g_seconds.end() || r->second <= 0)
        return;
    const QByteArray &rows = g_outcomes[product].rows;
    std::printf("%s: %.3f, rows %s (%lld bytes)\n", what, p->second / r->second,
                rows == g_outcomes[reference].rows && !rows.isEmpty() ? "the same" : "DIFFERENT", static_cast<long long>(rows.size()));
}

// The tool's peak RSS crawling pages 0..last 8 at a time, in KiB; -1 when it did not end well.
long peakKiB(const DemoSite::Server &site, int last)
{
    if (!crawl(site, {QStringLiteral("--pages"), QStringLiteral("0-%1").arg(last), QStringLiteral("--concurrency"),
                      QStringLiteral("8"), QStringLiteral("--per-host"), QStringLiteral("8"), QStringLiteral("--check-links")})
             .ok)
        return -1;
    return childrenPeakKiB();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("with %d ms for every answer:\n", kLatencyMs);
    compare("crawl --concurrency 8 --per-host 8 / --concurrency 1", "BM_Crawl10Pages8AtATime", "BM_Crawl10PagesOneByOne");
    compare("crawl --check-links --concurrency 8 --per-host 8 / --concurrency 1", "BM_CheckLinks10Pages8AtATime",
            "BM_CheckLinks10PagesOneByOne");
    // Peaks of children only grow: one page first.
    DemoSite::Server site(DemoSite::Options{.steadyShares = true});
    if (!site.start())
        return EXIT_FAILURE;
    const long onePage = peakKiB(site, 0);
    const long allPages = peakKiB(site, DemoSite::Catalog::kLastPage);
    std::printf("peak RSS of crawl --check-links --concurrency 8: 1 page %ld KiB, %d pages %ld KiB\n", onePage,
                DemoSite::Catalog::kLastPage + 1, allPages);
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
