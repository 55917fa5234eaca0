// The library command's wiring and exit codes, and a library that outlives kill -9 during a
// crawl. What searches find is the store's business (tests/library).
#include "demo-site/server.h"
#include "library/store.h"
#include "support/demositecli.h"
#include "support/librarysightings.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

class TestLibraryCommand : public QObject
{
    Q_OBJECT

private slots:
    void exitCodes_data();
    void exitCodes();
    void killedCrawlsLeaveAnIntactLibrary();
};

void TestLibraryCommand::exitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::newRow("search finds") << QStringList{u"library"_s, u"search"_s, u"三国"_s} << 0;
    QTest::newRow("search finds nothing") << QStringList{u"library"_s, u"search"_s, u"不存在的"_s} << 1;
    QTest::newRow("search, unknown state") << QStringList{u"library"_s, u"search"_s, u"x"_s, u"--link"_s, u"alive"_s} << 2;
    QTest::newRow("search, no text") << QStringList{u"library"_s, u"search"_s} << 2;
    QTest::newRow("unknown action") << QStringList{u"library"_s, u"grep"_s} << 2;
    QTest::newRow("no library") << QStringList{u"--no-library"_s, u"library"_s, u"stats"_s} << 2;
    QTest::newRow("stats") << QStringList{u"library"_s, u"stats"_s} << 0;
    QTest::newRow("export without output") << QStringList{u"library"_s, u"export"_s} << 2;
    QTest::newRow("export") << QStringList{u"library"_s, u"export"_s, u"--output"_s, u"@/out.csv"_s, u"--format"_s, u"csv"_s} << 0;
    QTest::newRow("export, unwritable") << QStringList{u"library"_s, u"export"_s, u"--output"_s, u"@/none/out.txt"_s} << 1;
    QTest::newRow("import, a bad line") << QStringList{u"library"_s, u"import"_s, u"@/rows.jsonl"_s} << 4;
    QTest::newRow("forget without date") << QStringList{u"library"_s, u"forget"_s} << 2;
    QTest::newRow("foreign file") << QStringList{u"--library"_s, u"@/rows.jsonl"_s, u"library"_s, u"stats"_s} << 3;
}

void TestLibraryCommand::exitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"library.sqlite"_s);
    {
        const Library::Opened opened = Library::openStore(path);
        QVERIFY(recordRun(*opened.store, {librarySighting(u"三国演义连环画"_s, u"k1"_s)}));
    }
    QFile rows(dir.filePath(u"rows.jsonl"_s));
    QVERIFY(rows.open(QIODevice::WriteOnly));
    rows.write("{\"title\":\"纪录片\",\"shareCode\":\"k2\"}\n{\"title\":\n");
    rows.close();
    for (QString &argument : arguments)
        argument.replace(u'@', dir.path());

    const CliOutcome outcome = runCli(QStringList{u"--library"_s, path} + arguments);
    QVERIFY2(outcome.code == code, qPrintable(outcome.err));
}

// Each kill lands at another moment of the crawl; the library opens undamaged every time and
// holds every row the crawl wrote out but the one in flight.
void TestLibraryCommand::killedCrawlsLeaveAnIntactLibrary()
{
    DemoSite::Server site(DemoSite::Options{.seed = 3, .latencyMs = 2});
    QVERIFY(site.start());
    QTemporaryDir dir;
    const QString path = dir.filePath(u"library.sqlite"_s);
    QRandomGenerator random(11);
    for (int kill = 0; kill < 10; ++kill) {
        QProcess child;
        child.start(QStringLiteral(CLI_EXECUTABLE), demoSiteArguments(site) + QStringList{u"--library"_s, path, u"crawl"_s,
                                                                                         u"--pages"_s, u"0-200"_s});
        QVERIFY(child.waitForStarted());
        QTest::qWait(150 + random.bounded(600));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));

        QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        lines.removeLast(); // a line cut short, or the empty rest after the last one
        QVERIFY(lines.size() > 1);
        lines.removeLast(); // the row in flight may be written out and not yet recorded
        QStringList keys;
        for (const QByteArray &line : lines)
            keys.append(QJsonDocument::fromJson(line).object().value(u"shareUrl"_s).toString());

        const Library::Opened opened = Library::openStore(path);
        QVERIFY2(opened.store && opened.notice.isEmpty(), qPrintable(opened.notice + opened.error));
        const QHash<QString, QDateTime> kept = opened.store->firstSeen(keys);
        QCOMPARE(kept.size(), QSet<QString>(keys.cbegin(), keys.cend()).size());
    }
}

QTEST_GUILESS_MAIN(TestLibraryCommand)
#include "tst_librarycommand.moc"
