// Title searches in a generated library of 200,000 shares: the trigram index (three characters
// or more) and LIKE (two characters, or a SQLite without FTS5, forced here) next to a plain scan
// of the titles held in memory, each answer checked against that scan. Per case the median and
// 95th percentile of one query's time, on the clock and in this thread's processor time (what the
// query costs whatever else the machine runs). Before them: filling the library, its file size, opening
// it (with its quick check), its statistics, and rebuilding the index after a run without FTS5.
#include "libraryfill.h"

#include "library/schema.h"
#include "library/store.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kShares = 200000;
constexpr quint32 kSeed = 1;
constexpr int kQueries = 200; // per case, each query once
constexpr int kLimit = 200;   // a screenful and then some, as the window asks
constexpr int kSetupRounds = 5;

struct Title
{
    qint64 id;
    QString title;
    QString folded;
};

struct Fixture
{
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<Library::Store> fullText;
    std::unique_ptr<Library::Store> likeOnly;
    std::vector<Title> titles; // every share, in the store's default order (last seen, newest first)
};

double milliseconds(qint64 nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e6;
}

qint64 threadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

// The median time of rounds runs of what, in ms.
double medianMs(int rounds, const std::function<void()> &what)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        what();
        times.push_back(milliseconds(clock.nsecsElapsed()));
    }
    return percentile(times, 0.5);
}

std::unique_ptr<Library::Store> open(const QString &path, bool fullText)
{
    Library::Opened opened = Library::openStore(path, Library::OpenOptions{.fullTextSearch = fullText});
    if (!opened.store)
        std::fprintf(stderr, "bench_librarysearch: %s\n", qPrintable(opened.error));
    return std::move(opened.store);
}

// Substrings of length characters of random titles, without white space, as a user would type them.
QStringList queriesOf(const std::vector<Title> &titles, int length, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList queries;
    while (queries.size() < kQueries) {
        const QString &title = titles[random.bounded(static_cast<quint32>(titles.size()))].title;
        if (title.size() < length)
            continue;
        const QString text = title.mid(random.bounded(static_cast<int>(title.size() - length + 1)), length);
        if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); }))
            queries.append(text);
    }
    return queries;
}

// The ids of the titles holding text, in order, at most limit (-1: all): the reference.
QList<qint64> scan(const std::vector<Title> &titles, const QString &text, int limit)
{
    const QString folded = Library::searchableTitle(text);
    QList<qint64> ids;
    for (const Title &title : titles) {
        if (title.folded.contains(folded)) {
            ids.append(title.id);
            if (ids.size() == limit)
                break;
        }
    }
    return ids;
}

QList<qint64> idsOf(const QList<Library::ShareRecord> &records)
{
    QList<qint64> ids;
    ids.reserve(records.size());
    for (const Library::ShareRecord &record : records)
        ids.append(record.id);
    return ids;
}

Fixture *g_fixture = nullptr;

enum class Path { Store, LikeOnly, Scan };

// One query: limit >= 0 asks search() for records, -1 asks matchingIds(); the ids found.
QList<qint64> answer(Path path, const QString &text, int limit)
{
    if (path == Path::Scan)
        return scan(g_fixture->titles, text, limit);
    const Library::Store &store = path == Path::Store ? *g_fixture->fullText : *g_fixture->likeOnly;
    Library::Query query;
    query.text = text;
    query.limit = limit;
    return limit >= 0 ? idsOf(store.search(query)) : store.matchingIds(query);
}

void searchCase(benchmark::State &state, Path path, const QStringList &queries, int limit)
{
    std::vector<double> times;
    std::vector<double> cpuTimes;
    qint64 rows = 0;
    qsizetype next = 0;
    for (auto _ : state) {
        const QString &text = queries.at(next++ % queries.size());
        QElapsedTimer clock;
        clock.start();
        const qint64 cpuStart = threadCpuNanoseconds();
        const QList<qint64> ids = answer(path, text, limit);
        const qint64 elapsed = clock.nsecsElapsed();
        cpuTimes.push_back(milliseconds(threadCpuNanoseconds() - cpuStart));
        state.SetIterationTime(static_cast<double>(elapsed) / 1e9);
        times.push_back(milliseconds(elapsed));
        rows += ids.size();
        state.PauseTiming();
        if (path != Path::Scan && ids != scan(g_fixture->titles, text, limit))
            state.SkipWithError("the answer differs from the scan of the titles");
        state.ResumeTiming();
    }
    state.counters["p50_ms"] = percentile(times, 0.5);
    state.counters["p95_ms"] = percentile(times, 0.95);
    state.counters["p50_cpu_ms"] = percentile(cpuTimes, 0.5);
    state.counters["p95_cpu_ms"] = percentile(cpuTimes, 0.95);
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(std::max<std::size_t>(times.size(), 1));
}

void registerCases(const QString &what, const QStringList &queries, const std::vector<std::pair<const char *, Path>> &paths)
{
    for (const int limit : {kLimit, -1}) {
        const std::string call = limit >= 0 ? "search/limit" + std::to_string(limit) : std::string("matchingIds");
        for (const auto &[name, path] : paths) {
            const std::string title = call + "/" + what.toStdString() + "/" + name;
            benchmark::RegisterBenchmark(title.c_str(), [path, queries, limit](benchmark::State &state) {
                searchCase(state, path, queries, limit);
            })
                ->Iterations(kQueries)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
}

bool setUp(Fixture &fixture)
{
    if (!fixture.dir.isValid())
        return false;
    fixture.path = fixture.dir.filePath(u"library.sqlite"_s);
    {
        const std::unique_ptr<Library::Store> store = open(fixture.path, true);
        if (!store)
            return false;
        QElapsedTimer clock;
        clock.start();
        if (const QString error = Bench::fillLibrary(*store, kShares, kSeed); !error.isEmpty()) {
            std::fprintf(stderr, "bench_librarysearch: %s\n", qPrintable(error));
            return false;
        }
        std::printf("fill %d shares: %.1f s\n", kShares, milliseconds(clock.nsecsElapsed()) / 1000);
    }
    std::printf("file size: %.1f MiB\n", static_cast<double>(QFileInfo(fixture.path).size()) / (1 << 20));
    std::printf("openStore (quick_check, migrations, index ready), median of %d: %.0f ms\n", kSetupRounds,
                medianMs(kSetupRounds, [&fixture] { open(fixture.path, true); }));

    fixture.fullText = open(fixture.path, true);
    if (!fixture.fullText || !fixture.fullText->hasFullTextSearch())
        return false;
    Library::Stats stats;
    std::printf("Store::stats(), median of %d: %.0f ms\n", kSetupRounds,
                medianMs(kSetupRounds, [&] { stats = fixture.fullText->stats(); }));
    if (stats.shares != kShares)
        return false;

    const QList<Library::ShareRecord> all = fixture.fullText->search(Library::Query{});
    for (const Library::ShareRecord &record : all) {
        fixture.titles.push_back({record.id, record.title, Library::searchableTitle(record.title)});
    }
    // Opening without FTS5 marks the index stale; the store already open keeps using it (no
    // title changes meanwhile), and the next open with FTS5 rebuilds it, timed at the end.
    fixture.likeOnly = open(fixture.path, false);
    return fixture.likeOnly && !fixture.likeOnly->hasFullTextSearch();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture fixture;
    if (!setUp(fixture)) {
        std::fprintf(stderr, "bench_librarysearch: the library could not be set up\n");
        return EXIT_FAILURE;
    }
    g_fixture = &fixture;
    registerCases(u"3chars"_s, queriesOf(fixture.titles, 3, kSeed + 1),
                  {{"trigram", Path::Store}, {"like", Path::LikeOnly}, {"scan", Path::Scan}});
    // Two characters are below the trigram index: the store answers by LIKE either way.
    registerCases(u"2chars"_s, queriesOf(fixture.titles, 2, kSeed + 2), {{"like", Path::Store}, {"scan", Path::Scan}});
    benchmark::RunSpecifiedBenchmarks();

    fixture.fullText.reset();
    fixture.likeOnly.reset();
    QElapsedTimer clock;
    clock.start();
    const bool rebuilt = open(fixture.path, true) != nullptr;
    std::printf("openStore after a run without FTS5 (rebuilds the trigram index)%s: %.0f ms\n", rebuilt ? "" : " FAILED",
                milliseconds(clock.nsecsElapsed()));
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
