// Crawl jobs from the command line: whatever stops a run, the resumed job's file is the
// uninterrupted run's, byte for byte, and the refusals of resuming.
#include "demo-site/server.h"
#include "support/demositecli.h"
#include "support/files.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

struct Stop
{
    int signal;
    int times; // signals sent one after the other
};

// Requests the site answered, robots.txt aside: every run reads that afresh, as it should.
qsizetype pageRequests(const DemoSite::Server &site)
{
    const auto visits = site.visits();
    return std::count_if(visits.cbegin(), visits.cend(), [](const DemoSite::Visit &visit) { return visit.path != "/robots.txt"; });
}

} // namespace

Q_DECLARE_METATYPE(Stop)

class TestCrawlJob : public QObject
{
    Q_OBJECT

private slots:
    void resumedJobWritesEveryRowOnce_data();
    void resumedJobWritesEveryRowOnce();
    void refusals_data();
    void refusals();
};

void TestCrawlJob::resumedJobWritesEveryRowOnce_data()
{
    QTest::addColumn<Stop>("stop");
    QTest::addColumn<double>("failFraction");
    QTest::addColumn<QStringList>("pacing");
    QTest::addColumn<int>("repeatsPerStop"); // requests a stop may cost again at most
    QTest::newRow("Ctrl-C") << Stop{SIGINT, 1} << 0.1 << QStringList{} << 1;
    QTest::newRow("Ctrl-C twice") << Stop{SIGINT, 2} << 0.1 << QStringList{} << 1;
    QTest::newRow("SIGTERM") << Stop{SIGTERM, 1} << 0.1 << QStringList{} << 1;
    QTest::newRow("SIGKILL") << Stop{SIGKILL, 1} << 0.1 << QStringList{} << 1;
    // Without failures the requests can be counted: at most the one in flight is asked again,
    // or with requests 4 at a time, that one and what was asked ahead (half of 16 answers per request).
    QTest::newRow("SIGKILL, requests counted") << Stop{SIGKILL, 1} << 0.0 << QStringList{} << 1;
    QTest::newRow("SIGKILL, 4 at a time") << Stop{SIGKILL, 1} << 0.0 << QStringList{u"--concurrency=4"_s, u"--per-host=4"_s} << 33;
}

void TestCrawlJob::resumedJobWritesEveryRowOnce()
{
    QFETCH(Stop, stop);
    QFETCH(double, failFraction);
    QFETCH(QStringList, pacing);
    QFETCH(int, repeatsPerStop);
    const DemoSite::Options options{.seed = 21, .latencyMs = 3, .failFraction = failFraction};
    QTemporaryDir dir;
    const QString expected = dir.filePath(u"expected.jsonl"_s);
    const QString output = dir.filePath(u"rows.jsonl"_s);
    const QStringList pages{u"crawl"_s, u"--pages"_s, u"0-15"_s, u"--backoff"_s, u"0"_s};
    qsizetype uninterruptedRequests = 0;
    QByteArray referenceBase;
    {
        DemoSite::Server reference(options);
        QVERIFY(reference.start());
        const int code = runCliOn(reference, QStringList{u"--no-library"_s} + pages + QStringList{u"--output"_s, expected}).code;
        QCOMPARE(code, failFraction == 0 ? 0 : 4); // some detail pages fail every retry
        uninterruptedRequests = pageRequests(reference);
        referenceBase = QByteArray::fromStdString(reference.baseUrl());
    }

    DemoSite::Server site(options);
    QVERIFY(site.start());
    const QStringList library{u"--library"_s, dir.filePath(u"library.sqlite"_s)};
    QRandomGenerator random(quint32(stop.signal * 10 + stop.times));
    constexpr int kStops = 3;
    for (int run = 0; run < kStops; ++run) {
        QProcess child;
        const QStringList job = run == 0 ? pages + QStringList{u"--output"_s, output, u"--job"_s, u"j"_s} + pacing
                                         : QStringList{u"crawl"_s, u"--resume"_s, u"j"_s} + pacing;
        child.start(QStringLiteral(CLI_EXECUTABLE), demoSiteArguments(site) + library + job);
        QVERIFY(child.waitForStarted());
        if (child.waitForFinished(100 + random.bounded(300)))
            break; // the job ran to its end before this stop
        for (int i = 0; i < stop.times; ++i)
            ::kill(static_cast<pid_t>(child.processId()), stop.signal);
        QVERIFY(child.waitForFinished(10000));
        if (stop.signal != SIGKILL) {
            QCOMPARE(child.exitCode(), 130);
            QVERIFY(child.readAllStandardError().contains("crawl --resume j"));
        }
    }
    const CliOutcome last = runCliOn(site, library + QStringList{u"crawl"_s, u"--resume"_s, u"j"_s} + pacing);
    QVERIFY2(last.code == (failFraction == 0 ? 0 : 4), qPrintable(last.err.right(300)));

    const QByteArray rows = TestFiles::readAll(output);
    // The share links name the site, and the two sites listen on different ports.
    if (failFraction == 0)
        QCOMPARE(QByteArray(rows).replace(QByteArray::fromStdString(site.baseUrl()), "SITE/"),
                 TestFiles::readAll(expected).replace(referenceBase, "SITE/"));
    // Where a detail page failed every retry its row has no share code, in either run; the rows
    // themselves, their order and their entries are the same.
    const auto entries = [](const QByteArray &file) {
        QStringList found;
        for (const QByteArray &line : file.split('\n')) {
            const QJsonObject row = QJsonDocument::fromJson(line).object();
            if (!row.isEmpty())
                found.append(QString::number(row.value(u"page"_s).toInt()) + u'/' + row.value(u"title"_s).toString());
        }
        return found;
    };
    const QStringList written = entries(rows);
    QCOMPARE(written, entries(TestFiles::readAll(expected)));
    QSet<QString> shares;
    for (const QByteArray &line : rows.split('\n'))
        if (const QString url = QJsonDocument::fromJson(line).object().value(u"shareUrl"_s).toString(); !url.isEmpty())
            shares.insert(url);
    QVERIFY(shares.size() > written.size() / 2);
    QCOMPARE(shares.size(), rows.count("\"shareUrl\":\"http"));
    if (failFraction == 0)
        QVERIFY2(pageRequests(site) <= uninterruptedRequests + kStops * repeatsPerStop,
                 qPrintable(QString::number(pageRequests(site)) + u" > "_s + QString::number(uninterruptedRequests)));
}

void TestCrawlJob::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    QTest::newRow("other pages") << QStringList{u"crawl"_s, u"--resume"_s, u"j"_s, u"--pages"_s, u"0-2"_s} << 2
                                 << u"was --pages 0-1, now 0-2"_s;
    QTest::newRow("unknown job") << QStringList{u"crawl"_s, u"--resume"_s, u"k"_s} << 2 << u"jobs: j"_s;
    QTest::newRow("finished") << QStringList{u"crawl"_s, u"--job"_s, u"j"_s} << 0 << u"nothing to resume"_s;
    QTest::newRow("no library") << QStringList{u"--no-library"_s, u"crawl"_s, u"--job"_s, u"n"_s} << 2 << u"library"_s;
    QTest::newRow("forget unknown") << QStringList{u"crawl"_s, u"forget"_s, u"k"_s} << 2 << u"jobs: j"_s;
    QTest::newRow("jobs") << QStringList{u"crawl"_s, u"jobs"_s} << 0 << QString();
}

void TestCrawlJob::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, says);
    DemoSite::Server site(DemoSite::Options{.seed = 4});
    QVERIFY(site.start());
    QTemporaryDir dir;
    const QStringList library{u"--library"_s, dir.filePath(u"library.sqlite"_s)};
    QCOMPARE(runCliOn(site, library + QStringList{u"crawl"_s, u"--pages"_s, u"0-1"_s, u"--job"_s, u"j"_s}).code, 0);
    const CliOutcome outcome = runCliOn(site, library + arguments);
    QCOMPARE(outcome.code, code);
    QVERIFY2(outcome.err.contains(says), qPrintable(outcome.err));
}

QTEST_GUILESS_MAIN(TestCrawlJob)
#include "tst_crawljob.moc"
