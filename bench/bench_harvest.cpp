// A whole 30-entry listing harvest against the demo site, next to the bare cost of the same 31
// GET requests made one after another through the same network manager. The difference is what
// the harvest itself adds: parsing, the model, the share-code cut and the signals.
#include "demo-site/server.h"
#include "harvest/harvester.h"
#include "harvest/siteurls.h"
#include "net/pagefetch.h"
#include "net/networkaccess.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include <cstdio>
#include <cstdlib>

namespace {

struct Fixture
{
    DemoSite::Server site;
    Config::Endpoints endpoints;
    qint16 page = -1;     // a listing page with exactly 30 entries
    QStringList urls;      // the listing page, then its 30 detail pages
};

Fixture *g_fixture = nullptr;
double g_harvestSeconds = 0;
double g_bareSeconds = 0;

bool setUp(Fixture &fixture)
{
    if (!fixture.site.start())
        return false;
    fixture.endpoints = Config::Endpoints::onDemoSite(QString::fromStdString(fixture.site.baseUrl()));
    for (int page = 0; page <= DemoSite::Catalog::kLastPage && fixture.page < 0; ++page) {
        if (fixture.site.catalog().listingPage(page).size() == 30)
            fixture.page = static_cast<qint16>(page);
    }
    if (fixture.page < 0)
        return false;
    const Config::Endpoints &e = fixture.endpoints;
    fixture.urls.append(Harvest::listingUrl(e.shareSite, e.profile, fixture.page));
    for (const DemoSite::Entry &entry : fixture.site.catalog().listingPage(fixture.page))
        fixture.urls.append(Harvest::detailUrl(e.shareSite, e.profile, QString::fromStdString(entry.entryId)));
    return true;
}

void BM_WholeHarvest(benchmark::State &state)
{
    Harvest::ResultList list;
    Harvest::Harvester harvester(list, g_fixture->endpoints);
    for (auto _ : state) {
        const Harvest::HarvestResult result = harvester.harvestPage(g_fixture->page);
        if (result.sharesRead != 30)
            state.SkipWithError("the harvest did not read 30 share codes");
    }
}
BENCHMARK(BM_WholeHarvest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Bare31Requests(benchmark::State &state)
{
    for (auto _ : state) {
        for (const QString &url : g_fixture->urls) {
            if (!Net::fetchPageText(url, g_fixture->endpoints.timeout))
                state.SkipWithError("a request failed");
        }
    }
}
BENCHMARK(BM_Bare31Requests)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the usual table and remembers the two real times for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            if (run.benchmark_name().rfind("BM_WholeHarvest", 0) == 0)
                g_harvestSeconds = seconds;
            else if (run.benchmark_name().rfind("BM_Bare31Requests", 0) == 0)
                g_bareSeconds = seconds;
        }
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture fixture;
    if (!setUp(fixture)) {
        std::fprintf(stderr, "bench_harvest: the demo site did not start or has no 30-entry page\n");
        return EXIT_FAILURE;
    }
    g_fixture = &fixture;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (g_harvestSeconds > 0 && g_bareSeconds > 0)
        std::printf("harvest / bare requests: %.3f (page %d, 31 requests)\n", g_harvestSeconds / g_bareSeconds,
                    int(fixture.page));
    Net::networkManager().clearConnectionCache(); // so the site's stop need not wait for idle connections
    fixture.site.stop();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
