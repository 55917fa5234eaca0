// Rechecks of the library's share links against the demo site: what is stored, what is not asked
// again, and a stop.
#include "library/linkrecheck.h"
#include "library/store.h"
#include "support/demositerows.h"
#include "support/libraryfill.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Crawl::LinkState;

class TestLinkRecheck : public QObject
{
    Q_OBJECT

private slots:
    void recheck_data();
    void recheck();
};

namespace {

struct SiteShare
{
    DemoSite::ShareState share;
    Crawl::LinkVerdict verdict; // what the site's page says of it
};

// The throttled share last: its Retry-After holds back whatever follows it.
const QList<SiteShare> kShares{
    {DemoSite::ShareState::Live, {LinkState::Live}},
    {DemoSite::ShareState::NeedsCode, {LinkState::Locked}},
    {DemoSite::ShareState::Gone, {LinkState::Dead, Crawl::DeadReason::NotFound}},
    {DemoSite::ShareState::Throttled, {LinkState::Limited}},
};

} // namespace

void TestLinkRecheck::recheck_data()
{
    QTest::addColumn<int>("priorAgeMinutes"); // of an earlier unknown check of every share; -1: none
    QTest::addColumn<bool>("force");
    QTest::addColumn<int>("stopAfter"); // shares done when the stop is turned on; -1: never
    QTest::addColumn<int>("asked");     // shares whose page was requested, and whose check is stored
    QTest::newRow("never checked") << -1 << false << -1 << 4;
    // An unknown check holds for 30 minutes.
    QTest::newRow("fresh checks are taken") << 5 << false << -1 << 0;
    QTest::newRow("stale checks are asked again") << 45 << false << -1 << 4;
    QTest::newRow("forced") << 5 << true << -1 << 4;
    QTest::newRow("stopped after the first") << -1 << false << 2 << 1; // the row without a link is second
}

void TestLinkRecheck::recheck()
{
    QFETCH(int, priorAgeMinutes);
    QFETCH(bool, force);
    QFETCH(int, stopAfter);
    QFETCH(int, asked);
    DemoSite::Server site(DemoSite::Options{.seed = 5});
    QVERIFY(site.start());
    const QString prefix = DemoSiteRows::endpointsOf(site).sharePrefix;

    TemporaryLibrary library;
    QVERIFY2(library.opened.store, qPrintable(library.opened.error));
    const QDateTime seen = QDateTime::currentDateTimeUtc().addDays(-1);
    QList<Library::Sighting> sightings;
    QStringList urls;
    for (const SiteShare &share : kShares) {
        const std::optional<DemoSite::Entry> entry = DemoSiteRows::firstShareIn(site.catalog(), share.share);
        QVERIFY(entry);
        sightings.append(TemporaryLibrary::sighting(QString::fromStdString(entry->title), QString::fromStdString(entry->shareCode),
                                                    u"c"_s, seen, prefix));
        urls.append(sightings.last().shareUrl);
        if (priorAgeMinutes >= 0)
            sightings.last().link = Crawl::LinkCheck{{}, QDateTime::currentDateTimeUtc().addSecs(-60 * priorAgeMinutes)};
    }
    Library::Sighting noLink = TemporaryLibrary::sighting(u"没有资源码"_s, {}, u"c"_s, seen);
    noLink.shareUrl.clear();
    sightings.insert(1, noLink);
    QVERIFY(library.record(sightings));
    Library::Query everything;
    everything.sort = Library::SortColumn::FirstSeen;
    QList<Library::ShareRecord> shares = library.store().search(everything);
    std::sort(shares.begin(), shares.end(), [](const auto &a, const auto &b) { return a.id < b.id; }); // recorded order

    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher({.retries = 0}, stop);
    Library::LinkRecheck recheck(library.store(), fetcher, Config::SiteProfile());
    recheck.setForce(force);
    int reported = 0;
    const Library::RecheckSummary summary = recheck.run(shares, [&](const Library::RecheckProgress &step) {
        QCOMPARE(step.done, ++reported);
        QCOMPARE(step.share, &shares.at(reported - 1));
        if (step.done == stopAfter)
            stop.turnOn();
    });
    DemoSiteRows::stopSite(site);

    QCOMPARE(int(DemoSiteRows::shareVisits(site).size()), asked);
    QCOMPARE(summary.checked, asked);
    QCOMPARE(summary.stopped, stopAfter >= 0);
    QCOMPARE(summary.fresh, priorAgeMinutes >= 0 && priorAgeMinutes < 30 && !force ? int(kShares.size()) : 0);
    QCOMPARE(summary.noLink, 1);
    QVERIFY(summary.error.isEmpty());
    for (qsizetype i = 0; i < kShares.size(); ++i) {
        const std::optional<Library::LinkCheck> latest = library.store().latestLinkCheck(urls.at(i));
        if (i < asked)
            QCOMPARE(latest ? latest->verdict : Crawl::LinkVerdict{}, kShares.at(i).verdict);
        else
            QCOMPARE(latest.has_value(), priorAgeMinutes >= 0);
        if (latest)
            QCOMPARE(library.store().linkHistory(shares.at(i < 1 ? i : i + 1).id).size(), (priorAgeMinutes >= 0) + (i < asked));
    }
}

QTEST_MAIN(TestLinkRecheck)
#include "tst_linkrecheck.moc"
