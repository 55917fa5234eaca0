#include "harvest/harvester.h"
#include "harvest/siteurls.h"
#include "scriptedsite.h"

#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;
using Harvest::HarvestOutcome;
using Harvest::HarvestResult;
using Harvest::Harvester;
using Harvest::ResourceEntry;
using Harvest::ResultList;
using Harvest::RunKind;

namespace {

QString outcomeName(HarvestOutcome outcome)
{
    switch (outcome) {
    case HarvestOutcome::Rows: return QStringLiteral("Rows");
    case HarvestOutcome::NoEntries: return QStringLiteral("NoEntries");
    case HarvestOutcome::ListingFailed: return QStringLiteral("ListingFailed");
    case HarvestOutcome::Superseded: return QStringLiteral("Superseded");
    }
    return {};
}

// Everything a harvester reports, in order.
class SignalLog
{
public:
    explicit SignalLog(Harvester &harvester)
    {
        QObject::connect(&harvester, &Harvester::statusChanged, &m_context, [this](const QString &text) {
            m_entries.append(u"status:"_s + text);
        });
        QObject::connect(&harvester, &Harvester::runStarted, &m_context, [this](RunKind kind) {
            m_entries.append(kind == RunKind::Search ? u"started:search"_s : u"started:listing"_s);
        });
        QObject::connect(&harvester, &Harvester::finished, &m_context, [this](const HarvestResult &result) {
            m_entries.append(u"finished:"_s + outcomeName(result.outcome));
        });
    }

    const QStringList &entries() const { return m_entries; }

private:
    QObject m_context; // disconnects the lambdas when the log goes first
    QStringList m_entries;
};

// The reports of one run that reaches its detail pass and completes it.
QStringList completeRun(int page)
{
    return {u"status:正在获取第"_s + QString::number(page) + u"页资源.."_s, u"started:listing"_s,
            u"status:资源获取完毕,正在获取礼包码.."_s, u"status:礼包码获取完毕.."_s, u"finished:Rows"_s};
}

QStringList rows(int page, QList<int> numbers, std::function<bool(int)> hasCode)
{
    QStringList result;
    for (int i : numbers) {
        const ResourceEntry e = ScriptedSite::row(page, i, hasCode(i));
        result.append(QStringList{e.number, e.title, e.fileCount, e.shareCode, e.entryId, e.extractionCode}.join(u'|'));
    }
    return result;
}

QStringList rows(const ResultList &list)
{
    QStringList result;
    for (const ResourceEntry &e : list.entries())
        result.append(QStringList{e.number, e.title, e.fileCount, e.shareCode, e.entryId, e.extractionCode}.join(u'|'));
    return result;
}

QStringList paths(int page, QList<int> entries, bool withListing = true)
{
    QStringList result;
    if (withListing)
        result.append(u"/act-"_s + QString::number(page) + u".html"_s);
    for (int i : entries)
        result.append(u"/id-"_s + ScriptedSite::entryId(page, i) + u".html"_s);
    return result;
}

QList<int> range(int first, int last)
{
    QList<int> result;
    for (int i = first; i <= last; ++i)
        result.append(i);
    return result;
}

} // namespace

class TestHarvester : public QObject
{
    Q_OBJECT

private slots:
    void fillsRowsThenShareCodesInOrder();
    void detailFailureAtRowThree_data();
    void detailFailureAtRowThree();
    void listingWithoutRows_data();
    void listingWithoutRows();
    void newerRunSupersedes_data();
    void newerRunSupersedes();
    void removedRowsKeepCodesOnTheirOwnRows();
    void rowNumbersRestartEveryRun();
    void entryIdReachesTheServerAsWritten_data();
    void entryIdReachesTheServerAsWritten();
    void listingUrls();
    void listingSupersedesSearch();
};

void TestHarvester::fillsRowsThenShareCodesInOrder()
{
    ScriptedSite site;
    site.addListing(0, 10);
    QVERIFY(site.start());
    ResultList list;
    Harvester harvester(list, site.endpoints());
    const SignalLog log(harvester);

    const HarvestResult result = harvester.harvestPage(0);
    QCOMPARE(result.outcome, HarvestOutcome::Rows);
    QCOMPARE(result.entries, 10);
    QCOMPARE(result.sharesRead, 10);
    QVERIFY(!result.detailPassStopped);
    QVERIFY(!harvester.isRunning());
    QCOMPARE(rows(list), rows(0, range(1, 10), [](int) { return true; }));
    QCOMPARE(site.requestedPaths(), paths(0, range(1, 10)));
    QCOMPARE(log.entries(), completeRun(0));
}

void TestHarvester::detailFailureAtRowThree_data()
{
    QTest::addColumn<QByteArray>("detailPage");
    QTest::addColumn<bool>("stops");
    QTest::newRow("page without the share prefix") << QByteArrayLiteral("<html>分享已取消</html>") << true;
    QTest::newRow("missing page") << QByteArray() << true;
    QTest::newRow("empty page") << QByteArray("") << true;
    QTest::newRow("prefix in other case") << QByteArrayLiteral("<a href=\"HTTP://YUNPAN.TEST/x\">") << true;
    QTest::newRow("prefix without a quote goes on") << QByteArrayLiteral("<p>http://yunpan.test/abc</p>") << false;
}

void TestHarvester::detailFailureAtRowThree()
{
    QFETCH(QByteArray, detailPage);
    QFETCH(bool, stops);
    ScriptedSite site;
    site.addListing(0, 10);
    const std::string third = "/id-" + ScriptedSite::entryId(0, 3).toStdString() + ".html";
    if (detailPage.isNull())
        site.removePage(third);
    else
        site.setPage(third, detailPage.toStdString());
    QVERIFY(site.start());

    ResultList list;
    Harvester harvester(list, site.endpoints());
    const SignalLog log(harvester);
    const HarvestResult result = harvester.harvestPage(0);

    QCOMPARE(result.outcome, HarvestOutcome::Rows);
    QCOMPARE(result.detailPassStopped, stops);
    QCOMPARE(result.stoppedAtRow, stops ? 2 : -1);
    QCOMPARE(result.sharesRead, stops ? 2 : 10);
    QCOMPARE(rows(list), rows(0, range(1, 10), [stops](int i) { return i < 3 || (!stops && i > 3); }));
    QCOMPARE(site.requestedPaths(), paths(0, range(1, stops ? 3 : 10)));
    QCOMPARE(log.entries(), completeRun(0));
}

void TestHarvester::listingWithoutRows_data()
{
    QTest::addColumn<QByteArray>("listing"); // "refused": nobody listens; "missing": 404
    QTest::addColumn<int>("outcome");
    QTest::newRow("empty page") << QByteArray("") << int(HarvestOutcome::ListingFailed);
    QTest::newRow("missing page") << QByteArray("missing") << int(HarvestOutcome::ListingFailed);
    QTest::newRow("connection refused") << QByteArray("refused") << int(HarvestOutcome::ListingFailed);
    QTest::newRow("page without entries")
        << QByteArray("<html><dfn>x</dfn><dd class='FFF' id='1'></html>") << int(HarvestOutcome::NoEntries);
}

void TestHarvester::listingWithoutRows()
{
    QFETCH(QByteArray, listing);
    QFETCH(int, outcome);
    ScriptedSite site;
    if (listing != "missing" && listing != "refused")
        site.setPage("/act-0.html", listing.toStdString());
    QVERIFY(site.start());
    Config::Endpoints endpoints = site.endpoints();
    if (listing == "refused")
        endpoints.shareSite = ScriptedSite::closedSite();

    ResultList list;
    list.append({ScriptedSite::row(9, 1, true)}); // a previous run's row: cleared at the start
    Harvester harvester(list, endpoints);
    const SignalLog log(harvester);
    const HarvestResult result = harvester.harvestPage(0);

    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(site.requestedPaths(), listing == "refused" ? QStringList() : QStringList{u"/act-0.html"_s});
    QCOMPARE(log.entries(), (QStringList{u"status:正在获取第0页资源.."_s, u"started:listing"_s,
                                                u"finished:"_s + outcomeName(result.outcome)}));
}

// A second run starts while the first waits for its listing page or for a detail page; the
// first must neither write into the list nor report anything but its own end.
void TestHarvester::newerRunSupersedes_data()
{
    QTest::addColumn<QString>("heldPath");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("firstRunReports");
    const QStringList listingReports{u"status:正在获取第0页资源.."_s, u"started:listing"_s};
    QTest::newRow("while the listing loads")
        << u"/act-0.html"_s << paths(0, {}) + paths(1, range(1, 5)) << listingReports;
    QTest::newRow("while a detail page loads")
        << u"/id-"_s + ScriptedSite::entryId(0, 2) + u".html"_s << paths(0, {1, 2}) + paths(1, range(1, 5))
        << listingReports + QStringList{u"status:资源获取完毕,正在获取礼包码.."_s};
}

void TestHarvester::newerRunSupersedes()
{
    QFETCH(QString, heldPath);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, firstRunReports);
    ScriptedSite site;
    site.addListing(0, 4);
    site.addListing(1, 5);
    site.setDetail(0, 2, "<html>分享已取消</html>"); // a late failure must not end the newer run's pass
    site.holdBack(heldPath.toStdString());
    QVERIFY(site.start());
    ResultList list;
    Harvester harvester(list, site.endpoints());
    const SignalLog log(harvester);

    QTimer poll;
    HarvestResult second;
    bool runningDuringWait = false;
    site.whenHolding(poll, [&] {
        runningDuringWait = harvester.isRunning();
        second = harvester.harvestPage(1);
        site.release();
    });
    const HarvestResult first = harvester.harvestPage(0);

    QVERIFY(runningDuringWait);
    QCOMPARE(second.outcome, HarvestOutcome::Rows);
    QCOMPARE(first.outcome, HarvestOutcome::Superseded);
    QVERIFY(!harvester.isRunning());
    QCOMPARE(rows(list), rows(1, range(1, 5), [](int) { return true; }));
    QCOMPARE(site.requestedPaths(), requests);
    QCOMPARE(log.entries(), firstRunReports + completeRun(1) + QStringList{u"finished:Superseded"_s});
}

void TestHarvester::removedRowsKeepCodesOnTheirOwnRows()
{
    ScriptedSite site;
    site.addListing(0, 6);
    site.holdBack("/id-" + ScriptedSite::entryId(0, 2).toStdString() + ".html");
    QVERIFY(site.start());
    ResultList list;
    Harvester harvester(list, site.endpoints());

    QTimer poll;
    site.whenHolding(poll, [&] {
        list.removeRows(3, 1); // entry 4, not fetched yet
        list.removeRows(0, 1); // entry 1, already filled
        site.release();
    });
    const HarvestResult result = harvester.harvestPage(0);

    QCOMPARE(result.outcome, HarvestOutcome::Rows);
    QCOMPARE(result.sharesRead, 5);
    QCOMPARE(rows(list), rows(0, {2, 3, 5, 6}, [](int) { return true; }));
    QCOMPARE(site.requestedPaths(), paths(0, {1, 2, 3, 5, 6}));
}

void TestHarvester::rowNumbersRestartEveryRun()
{
    ScriptedSite site;
    site.addListing(0, 4);
    site.addListing(1, 2);
    QVERIFY(site.start());
    ResultList list;
    Harvester harvester(list, site.endpoints());
    QCOMPARE(harvester.harvestPage(0).outcome, HarvestOutcome::Rows);
    QCOMPARE(harvester.harvestPage(1).outcome, HarvestOutcome::Rows);
    QCOMPARE(rows(list), rows(1, {1, 2}, [](int) { return true; }));
    QCOMPARE(list.entry(1).number, u"2"_s);
}

// The identifier is cut by length and may carry page text; it reaches the server as the site
// wrote it, but for what would break the URL.
void TestHarvester::entryIdReachesTheServerAsWritten_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("target");
    QTest::newRow("escape kept") << u"f%20ffffffffffffff"_s << u"/id-f%20ffffffffffffff.html"_s;
    // QUrl writes an escaped letter, digit or "-._~" as the character itself, which names the same
    // path (RFC 3986 6.2.2.2); every other escape arrives as written.
    QTest::newRow("escapes kept, unreserved ones normalised")
        << u"%41%2F%7e%25ffffff"_s << u"/id-A%2F~%25ffffff.html"_s;
    QTest::newRow("path characters kept") << u"a!$&'()*+,;=:@/~-_"_s << u"/id-a!$&'()*+,;=:@/~-_.html"_s;
    QTest::newRow("URL breakers encoded") << u"a b<c>d\"e?f#g`h{i}"_s << u"/id-a%20b%3Cc%3Ed%22e%3Ff%23g%60h%7Bi%7D.html"_s;
    QTest::newRow("non-ASCII and controls encoded") << u"资源\txxxxxxxxxxxxxxx"_s << u"/id-%E8%B5%84%E6%BA%90%09xxxxxxxxxxxxxxx.html"_s;
    QTest::newRow("stray percent encoded") << u"100%zzzzzzzzzzzz%4"_s << u"/id-100%25zzzzzzzzzzzz%254.html"_s;
}

void TestHarvester::entryIdReachesTheServerAsWritten()
{
    QFETCH(QString, id);
    QFETCH(QString, target);
    QCOMPARE(id.size(), 18);
    ScriptedSite site;
    site.setPage("/act-7.html", QString(u"<dd class='fff' id='"_s + id + u"</dd><dfn>题</dfn>"_s).toStdString());
    QVERIFY(site.start());
    ResultList list;
    Harvester harvester(list, site.endpoints());

    QCOMPARE(harvester.harvestPage(7).outcome, HarvestOutcome::Rows);
    QCOMPARE(list.entry(0).entryId, id);
    QCOMPARE(site.requestedPaths(), (QStringList{u"/act-7.html"_s, target}));
}

void TestHarvester::listingUrls()
{
    const QString site = u"http://share.test/"_s;
    const Config::SiteProfile profile;
    QCOMPARE(Harvest::listingUrl(site, profile, 0), u"http://share.test/act-0.html"_s);
    QCOMPARE(Harvest::listingUrl(site, profile, 32767), u"http://share.test/act-32767.html"_s);
    QCOMPARE(Harvest::detailUrl(site, profile, u"p00000e00000000001"_s), u"http://share.test/id-p00000e00000000001.html"_s);
    QCOMPARE(Harvest::detailUrl(site, profile, u"a b%"_s), u"http://share.test/id-a%20b%25.html"_s);
}

// A listing harvest started while a search waits supersedes it and unlocks the page buttons
// that the search locked, which the search itself no longer can.
void TestHarvester::listingSupersedesSearch()
{
    ScriptedSite site;
    site.addListing(1, 2);
    site.setPage("/", "<html></html>");
    site.holdBack("/");
    QVERIFY(site.start());
    ResultList list;
    Harvester harvester(list, site.endpoints());
    const SignalLog log(harvester);

    QTimer poll;
    site.whenHolding(poll, [&] {
        harvester.harvestPage(1);
        site.release();
    });
    const HarvestResult search = harvester.searchKeyword(u"ab"_s);

    QCOMPARE(search.outcome, HarvestOutcome::Superseded);
    QCOMPARE(log.entries(), QStringList({u"status:正在进行搜索ab相关资源.."_s, u"started:search"_s}) + completeRun(1)
                                + QStringList{u"finished:Superseded"_s});
    QCOMPARE(rows(list), rows(1, {1, 2}, [](int) { return true; }));
}

QTEST_GUILESS_MAIN(TestHarvester)
#include "tst_harvester.moc"
