// Incremental crawls and watches against a demo site that grows between runs: what is new is
// what the library did not hold, and known entries cost no detail request.
#include "demo-site/server.h"
#include "harvest/keywordrefusal.h"
#include "support/demositecli.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr std::uint32_t kSeed = 9;

// The demo site, grown by some entries and started again on the same port: share links hold
// the site's address, and on a real site it does not change between runs.
class GrowingSite
{
public:
    GrowingSite() : m_site(std::make_unique<DemoSite::Server>(DemoSite::Options{.seed = kSeed})) {}

    bool start() { return m_site->start(); }
    bool grow(int newEntries)
    {
        const int port = m_site->port();
        m_site->stop();
        m_site = std::make_unique<DemoSite::Server>(DemoSite::Options{.seed = kSeed, .newEntries = newEntries});
        return m_site->start(port);
    }
    const DemoSite::Server &site() const { return *m_site; }

    // Requests for paths starting with prefix since the site was (re)started.
    qsizetype visitsTo(std::string_view prefix) const
    {
        const std::vector<DemoSite::Visit> visits = m_site->visits();
        return std::count_if(visits.cbegin(), visits.cend(), [prefix](const DemoSite::Visit &visit) {
            return visit.path.starts_with(prefix);
        });
    }

private:
    std::unique_ptr<DemoSite::Server> m_site;
};

// The share codes of the JSON lines of out.
QStringList shareCodes(const QString &out)
{
    QStringList codes;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
        codes.append(QJsonDocument::fromJson(line.toUtf8()).object().value(u"shareCode"_s).toString());
    return codes;
}

// The share codes of the first count entries of page 0.
QStringList newestCodes(const DemoSite::Server &site, int count)
{
    QStringList codes;
    for (const DemoSite::Entry &entry : site.catalog().listingPage(0))
        if (codes.size() < count)
            codes.append(QString::fromStdString(entry.shareCode));
    return codes;
}

} // namespace

class TestWatchCommand : public QObject
{
    Q_OBJECT

private slots:
    void incrementalCrawl_data();
    void incrementalCrawl();
    void watchFindsExactlyTheNewShares();
    void refusals_data();
    void refusals();
};

void TestWatchCommand::incrementalCrawl_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("grownBy");
    QTest::addColumn<int>("listings"); // listing pages the second crawl reads
    QTest::addColumn<int>("rows");     // it writes the newest rows of page 0, each after its detail page
    QTest::newRow("stop after known: one page") << QStringList{u"--stop-after-known=5"_s} << 0 << 1 << 5;
    QTest::newRow("new only") << QStringList{u"--new-only"_s} << 3 << 2 << 3;
    QTest::newRow("new only, stop after known") << QStringList{u"--new-only"_s, u"--stop-after-known=5"_s} << 3 << 1 << 3;
    QTest::newRow("nothing new") << QStringList{u"--new-only"_s} << 0 << 2 << 0;
}

void TestWatchCommand::incrementalCrawl()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, grownBy);
    QFETCH(int, listings);
    QFETCH(int, rows);
    QTemporaryDir dir;
    const QStringList crawl{u"--library"_s, dir.filePath(u"library.sqlite"_s), u"crawl"_s, u"--pages=0-1"_s};
    GrowingSite site;
    QVERIFY(site.start());
    QCOMPARE(runCliOn(site.site(), crawl).code, 0);
    QVERIFY(site.grow(grownBy));

    const CliOutcome second = runCliOn(site.site(), crawl + arguments);
    QVERIFY2(second.code == 0, qPrintable(second.err));
    QCOMPARE(site.visitsTo("/act-"), listings);
    QCOMPARE(shareCodes(second.out), newestCodes(site.site(), rows));
    QCOMPARE(site.visitsTo("/id-"), rows);
}

// Run once: everything is new; the site grows by 3: exactly those; again: nothing (exit 1).
void TestWatchCommand::watchFindsExactlyTheNewShares()
{
    QTemporaryDir dir;
    const QStringList library{u"--library"_s, dir.filePath(u"library.sqlite"_s)};
    const QStringList run = library + QStringList{u"watch"_s, u"run"_s, u"每日"_s};
    GrowingSite site;
    QVERIFY(site.start());
    QCOMPARE(runCli(library + QStringList{u"watch"_s, u"add"_s, u"每日"_s, u"--pages"_s, u"0-1"_s}).code, 0);

    const CliOutcome first = runCliOn(site.site(), run);
    QCOMPARE(first.code, 0);
    const qsizetype all = qsizetype(site.site().catalog().listingPage(0).size() + site.site().catalog().listingPage(1).size());
    QCOMPARE(shareCodes(first.out).size(), all);
    QCOMPARE(runCliOn(site.site(), library + QStringList{u"watch"_s, u"run"_s, u"--all"_s}).code, 1); // not due yet

    QVERIFY(site.grow(3));
    const CliOutcome grown = runCliOn(site.site(), run);
    QCOMPARE(grown.code, 0);
    QCOMPARE(shareCodes(grown.out), newestCodes(site.site(), 3));
    QVERIFY2(grown.err.contains(u"3 new shares for pages 0-1"_s), qPrintable(grown.err));

    const CliOutcome again = runCliOn(site.site(), run);
    QCOMPARE(again.code, 1);
    QVERIFY(again.out.isEmpty());
    const CliOutcome found = runCli(library + QStringList{u"library"_s, u"search"_s, u""_s, u"--source"_s, u"watch:每日"_s});
    QCOMPARE(shareCodes(found.out).size(), all + 3);
}

void TestWatchCommand::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("errHolds");
    const QStringList add{u"watch"_s, u"add"_s, u"w"_s};
    QTest::newRow("too frequent") << add + QStringList{u"--pages=0"_s, u"--every=29m"_s} << 2 << u"too frequent"_s;
    QTest::newRow("short keyword") << add + QStringList{u"--keyword=a"_s} << 2 << Harvest::keywordRefusal(u"a");
    QTest::newRow("keyword and pages") << add + QStringList{u"--keyword=ab"_s, u"--pages=1"_s} << 2 << u"--keyword"_s;
    QTest::newRow("unknown watch removed") << QStringList{u"watch"_s, u"remove"_s, u"w"_s} << 1 << u"no watch named w"_s;
    QTest::newRow("unknown watch run") << QStringList{u"watch"_s, u"run"_s, u"w"_s} << 1 << u"no watch named w"_s;
    QTest::newRow("run: name or all") << QStringList{u"watch"_s, u"run"_s} << 2 << u"NAME or --all"_s;
    QTest::newRow("new only without library") << QStringList{u"--no-library"_s, u"crawl"_s, u"--new-only"_s} << 2
                                              << u"need the library"_s;
    QTest::newRow("stop after known, library unopenable") << QStringList{u"--library"_s, u"@/foreign"_s, u"crawl"_s,
                                                                         u"--stop-after-known=3"_s}
                                                          << 2 << u"need the library"_s;
    QTest::newRow("watch without library") << QStringList{u"--no-library"_s, u"watch"_s, u"list"_s} << 2 << u"--no-library"_s;
}

void TestWatchCommand::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, errHolds);
    QTemporaryDir dir;
    QFile foreign(dir.filePath(u"foreign"_s));
    QVERIFY(foreign.open(QIODevice::WriteOnly) && foreign.write("not a library\n") > 0);
    foreign.close();
    for (QString &argument : arguments)
        argument.replace(u'@', dir.path());
    const CliOutcome outcome = runCli(QStringList{u"--library"_s, dir.filePath(u"library.sqlite"_s)} + arguments);
    QCOMPARE(outcome.code, code);
    QVERIFY2(outcome.err.contains(errHolds), qPrintable(outcome.err));
}

QTEST_GUILESS_MAIN(TestWatchCommand)
#include "tst_watchcommand.moc"
