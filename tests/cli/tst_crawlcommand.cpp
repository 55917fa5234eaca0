// The crawl command's wiring: exit codes, the output file's safety, a stop by SIGINT in a child
// process, requests N at a time, and titles a spreadsheet would run as formulas (harvest and
// search as well). What
// rows hold is the core's business (tests/crawl).
#include "demo-site/server.h"
#include "support/csvreader.h"
#include "support/demositecli.h"
#include "support/files.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

CliOutcome crawlAgainst(DemoSite::Server &site, const QStringList &arguments)
{
    return runCliOn(site, QStringList{u"crawl"_s} + arguments);
}

const QByteArray kOldFile = "{\"old\":1}\n";

} // namespace

class TestCrawlCommand : public QObject
{
    Q_OBJECT

private slots:
    void exitCodes_data();
    void exitCodes();
    void outputFile_data();
    void outputFile();
    void stopSignal_data();
    void stopSignal();
    void concurrency_data();
    void concurrency();
    void formulaTitles_data();
    void formulaTitles();
};

void TestCrawlCommand::exitCodes_data()
{
    QTest::addColumn<double>("failFraction");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("errHolds");
    QTest::newRow("every page read") << 0.0 << QStringList{u"--pages"_s, u"3-4"_s} << 0 << u"pages read 2, pages failed 0"_s;
    QTest::newRow("some pages failed") << 0.5 << QStringList{u"--pages=0-5"_s, u"--retries"_s, u"0"_s} << 4
                                       << u"crawl: failed pages: "_s;
    QTest::newRow("no page read") << 1.0 << QStringList{u"--pages"_s, u"7"_s, u"--retries=1"_s, u"--backoff=1"_s} << 3
                                  << u"crawl: page 7 failed: "_s;
    QTest::newRow("keyword results") << 0.0 << QStringList{u"--keyword"_s, u"周星驰"_s} << 0
                                     << u"keyword results done (1 of 1)"_s;
    QTest::newRow("range upside down") << 0.0 << QStringList{u"--pages"_s, u"5-2"_s} << 2 << u"--pages"_s;
    QTest::newRow("page past 32767") << 0.0 << QStringList{u"--pages"_s, u"32768"_s} << 2 << u"--pages"_s;
    QTest::newRow("pages and keyword") << 0.0 << QStringList{u"--pages=1"_s, u"--keyword=ab"_s} << 2 << u"--keyword"_s;
    QTest::newRow("unknown format") << 0.0 << QStringList{u"--format"_s, u"json"_s} << 2 << u"--format"_s;
    QTest::newRow("append without output") << 0.0 << QStringList{u"--append"_s} << 2 << u"--append"_s;
    QTest::newRow("no such link state") << 0.0 << QStringList{u"--link-states=live,gone"_s} << 2 << u"--link-states"_s;
    QTest::newRow("only live and link states") << 0.0 << QStringList{u"--only-live"_s, u"--link-states=dead"_s} << 2
                                               << u"--only-live and --link-states"_s;
    QTest::newRow("max age without its number") << 0.0 << QStringList{u"--max-age"_s, u"h"_s} << 2 << u"--max-age"_s;
    QTest::newRow("max age past ten years") << 0.0 << QStringList{u"--max-age"_s, u"3651d"_s} << 2 << u"--max-age"_s;
    QTest::newRow("negative retries") << 0.0 << QStringList{u"--retries"_s, u"-1"_s} << 2 << u"--retries"_s;
    QTest::newRow("17 at a time") << 0.0 << QStringList{u"--concurrency=17"_s} << 2 << u"--concurrency"_s;
    QTest::newRow("none to a host") << 0.0 << QStringList{u"--per-host=0"_s} << 2 << u"--per-host"_s;
}

void TestCrawlCommand::exitCodes()
{
    QFETCH(double, failFraction);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, errHolds);
    DemoSite::Server site(DemoSite::Options{.seed = 2, .failFraction = failFraction});
    QVERIFY(site.start());
    const CliOutcome outcome = crawlAgainst(site, arguments);
    QCOMPARE(outcome.code, code);
    QVERIFY2(outcome.err.contains(errHolds), qPrintable(outcome.err));
    if (code != 2)
        QVERIFY(outcome.err.contains(u", seconds "_s) && !outcome.err.contains(u"stopped"_s));
}

void TestCrawlCommand::outputFile_data()
{
    QTest::addColumn<double>("failFraction");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("oldContent"); // empty: no file before
    QTest::addColumn<QByteArray>("startsWith");
    QTest::addColumn<int>("headLines");          // lines before the rows
    const QByteArray csvHead = "\xEF\xBB\xBFpage,number,title,fileCount,shareCode,extractionCode,shareUrl\r\n";
    QTest::newRow("failed early: old file intact") << 1.0 << QStringList{u"--retries=0"_s} << kOldFile << kOldFile << -1;
    QTest::newRow("replaced") << 0.0 << QStringList{} << kOldFile << QByteArray("{\"page\":2,") << 0;
    QTest::newRow("appended") << 0.0 << QStringList{u"--append"_s} << kOldFile << kOldFile << 1;
    QTest::newRow("new csv: its header") << 0.0 << QStringList{u"--format=csv"_s} << QByteArray() << csvHead << 1;
    QTest::newRow("csv appended: no second header") << 0.0 << QStringList{u"--format=csv"_s, u"--append"_s}
                                                     << csvHead << csvHead << 1;
}

void TestCrawlCommand::outputFile()
{
    QFETCH(double, failFraction);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, oldContent);
    QFETCH(QByteArray, startsWith);
    QFETCH(int, headLines);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"rows.out"_s);
    if (!oldContent.isEmpty())
        QVERIFY(TestFiles::writeAll(path, oldContent));
    DemoSite::Server site(DemoSite::Options{.seed = 4, .failFraction = failFraction});
    QVERIFY(site.start());

    const CliOutcome outcome = crawlAgainst(site, arguments + QStringList{u"--pages=2"_s, u"--output"_s, path});
    const QByteArray written = TestFiles::readAll(path);
    QVERIFY(written.startsWith(startsWith));
    QVERIFY(outcome.out.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"rows.out"_s}); // no temporary file left
    if (headLines < 0) {
        QCOMPARE(outcome.code, 3);
        QCOMPARE(written, oldContent);
        return;
    }
    QCOMPARE(outcome.code, 0);
    const qsizetype rows = qsizetype(site.catalog().listingPage(2).size());
    QCOMPARE(written.count('\n'), headLines + rows);
    QVERIFY(written.endsWith('\n'));
}

void TestCrawlCommand::stopSignal_data()
{
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<QStringList>("pacing");
    QTest::newRow("to a file") << true << QStringList{};
    QTest::newRow("to stdout") << false << QStringList{};
    QTest::newRow("6 at a time, to a file") << true << QStringList{u"--concurrency=6"_s, u"--per-host=6"_s};
}

// SIGINT in the middle of a long crawl: exit 130 soon after, and the output holds whole rows,
// exactly the catalogue's first ones, as many as the summary says were written.
void TestCrawlCommand::stopSignal()
{
    QFETCH(bool, toFile);
    QFETCH(QStringList, pacing);
    DemoSite::Server site(DemoSite::Options{.seed = 9, .latencyMs = 2});
    QVERIFY(site.start());
    QTemporaryDir dir;
    const QString path = dir.filePath(u"rows.jsonl"_s);
    QStringList arguments = demoSiteArguments(site) + QStringList{u"crawl"_s, u"--pages"_s, u"0-150"_s} + pacing;
    if (toFile)
        arguments += {u"--output"_s, path};

    QProcess child;
    child.setReadChannel(QProcess::StandardError);
    child.start(QStringLiteral(CLI_EXECUTABLE), arguments);
    QVERIFY(child.waitForStarted());
    QByteArray err;
    while (!err.contains("page 1 done") && child.waitForReadyRead(10000))
        err += child.readAllStandardError();
    QVERIFY2(err.contains("page 1 done"), err.constData());
    ::kill(static_cast<pid_t>(child.processId()), SIGINT);
    QVERIFY(child.waitForFinished(10000));
    err += child.readAllStandardError();
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 130);

    const QByteArray output = toFile ? TestFiles::readAll(path) : child.readAllStandardOutput();
    QVERIFY(output.endsWith('\n'));
    const QList<QByteArray> lines = output.chopped(1).split('\n');
    std::vector<std::pair<int, DemoSite::Entry>> catalogue;
    for (int page = 0; page <= 150 && catalogue.size() <= size_t(lines.size()); ++page) {
        for (const DemoSite::Entry &entry : site.catalog().listingPage(page))
            catalogue.emplace_back(page, entry);
    }
    QVERIFY(lines.size() > qsizetype(site.catalog().listingPage(0).size()));
    QVERIFY(size_t(lines.size()) < catalogue.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QJsonParseError error{};
        const QJsonObject row = QJsonDocument::fromJson(lines.at(i), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(row.value(u"page"_s).toInt(), catalogue[size_t(i)].first);
        QCOMPARE(row.value(u"shareCode"_s).toString(), QString::fromStdString(catalogue[size_t(i)].second.shareCode));
    }
    QVERIFY(err.trimmed().endsWith(", stopped"));
    QVERIFY2(err.contains(QByteArray(", rows written " + QByteArray::number(lines.size()) + ",")), err.constData());
    if (toFile)
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"rows.jsonl"_s});
}

void TestCrawlCommand::concurrency_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("perHost");
    QTest::newRow("8 at a time, 3 to a host") << QStringList{u"--concurrency=8"_s, u"--per-host=3"_s} << 3;
    QTest::newRow("4 at a time, links checked")
        << QStringList{u"--concurrency=4"_s, u"--per-host=4"_s, u"--check-links"_s, u"--pages=1"_s} << 4;
    QTest::newRow("3 at a time, a flaky site") << QStringList{u"--concurrency=3"_s, u"--per-host=3"_s, u"--fail-fraction"_s} << 3;
}

// The same bytes as one request after the other, the site never asked more than the cap at once
// and more than one at once at some point.
void TestCrawlCommand::concurrency()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, perHost);
    const bool flaky = arguments.removeAll(u"--fail-fraction"_s) > 0;
    // A dead share is asked again after 2 s: one page of them is enough.
    const QString pages = arguments.filter(u"--pages"_s).value(0, u"--pages=0-2"_s);
    const QStringList crawl{pages, u"--no-library"_s, u"--backoff=1"_s};
    const QStringList checks = arguments.filter(u"--check-links"_s);
    // A check's time and the site's port are all that two runs cannot share.
    const auto shared = [](QString text, const DemoSite::Server &site) {
        return text.remove(QRegularExpression(u",\"checkedAt\":\"[^\"]*\""_s)).remove(QString::fromStdString(site.baseUrl()));
    };
    const DemoSite::Options options{.seed = 6, .latencyMs = 20, .failFraction = flaky ? 0.1 : 0.0, .steadyShares = true};

    DemoSite::Server oneByOne(options);
    QVERIFY(oneByOne.start());
    const CliOutcome sequential = crawlAgainst(oneByOne, crawl + checks);
    QCOMPARE(oneByOne.maxConcurrentRequests(), 1);

    DemoSite::Server manyAtOnce(options);
    QVERIFY(manyAtOnce.start());
    const CliOutcome parallel = crawlAgainst(manyAtOnce, crawl + arguments);
    QCOMPARE(parallel.code, sequential.code);
    QVERIFY(!sequential.out.isEmpty());
    QCOMPARE(shared(parallel.out, manyAtOnce), shared(sequential.out, oneByOne));
    QVERIFY2(manyAtOnce.maxConcurrentRequests() <= perHost, qPrintable(QString::number(manyAtOnce.maxConcurrentRequests())));
    QVERIFY(manyAtOnce.maxConcurrentRequests() > 1);
}

void TestCrawlCommand::formulaTitles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("raw");
    const QStringList crawlCsv{u"crawl"_s, u"--pages=0"_s, u"--format=csv"_s};
    const QStringList harvest{u"harvest"_s, u"--page=0"_s};
    const QStringList search{u"search"_s, u"周星驰"_s};
    QTest::newRow("crawl csv") << crawlCsv << false;
    QTest::newRow("crawl csv, raw") << crawlCsv + QStringList{u"--raw"_s} << true;
    QTest::newRow("crawl tsv") << QStringList{u"crawl"_s, u"--pages=0"_s, u"--format=tsv"_s} << false;
    QTest::newRow("harvest") << harvest << false;
    QTest::newRow("harvest, raw") << harvest + QStringList{u"--raw"_s} << true;
    QTest::newRow("search, raw") << search + QStringList{u"--raw"_s} << true;
}

// Titles that start with "=" and "@": written with a leading "'" unless --raw asks for them as
// the site sent them.
void TestCrawlCommand::formulaTitles()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, raw);
    DemoSite::Server site(DemoSite::Options{.seed = 2, .fault = DemoSite::Fault::FormulaTitles});
    QVERIFY(site.start());
    const CliOutcome outcome = runCliOn(site, arguments);
    QCOMPARE(outcome.code, 0);

    QStringList titles;
    if (arguments.contains(u"--format=csv"_s)) {
        const auto records = readCsv(outcome.out.mid(1)); // after the byte-order mark
        QVERIFY(records && records->size() > 2);
        const qsizetype column = records->front().indexOf(u"title"_s);
        for (const QStringList &record : records->mid(1))
            titles.append(record.at(column));
    } else {
        const qsizetype column = arguments.front() == u"crawl" ? 2 : 1;
        for (const QString &line : outcome.out.split(u'\n', Qt::SkipEmptyParts))
            titles.append(line.split(u'\t').at(column));
    }
    const QString lead = raw ? QString() : u"'"_s;
    QVERIFY(titles.filter(QRegularExpression(u"^"_s + lead + u"="_s)).size() > 0);
    QCOMPARE(titles.filter(QRegularExpression(u"^"_s + lead + u"[=@]"_s)).size(), titles.size());
}

QTEST_GUILESS_MAIN(TestCrawlCommand)
#include "tst_crawlcommand.moc"
