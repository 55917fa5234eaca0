// The harvester against the demo site, whose pages are written from the page format by code
// that shares nothing with the parser: every row must be exactly what the site's catalogue says.
#include "demo-site/search.h"
#include "demo-site/server.h"
#include "harvest/harvester.h"
#include "net/networkaccess.h"
#include "support/demositerows.h"

#include <QNetworkAccessManager>
#include <QTest>

using DemoSiteRows::expectedRow;

class TestDemoSiteHarvest : public QObject
{
    Q_OBJECT

    // The same catalogue in both layouts, the alternative one read with its own profile.
    DemoSite::Server m_site{DemoSite::Options{7, 0, "V1.0"}};
    DemoSite::Server m_altSite{DemoSite::Options{.seed = 7, .announcedVersion = "V1.0", .layout = DemoSite::Layout::Alt}};
    Config::Endpoints m_endpoints;
    Config::Endpoints m_altEndpoints;

    const Config::Endpoints &endpoints(bool alt) const { return alt ? m_altEndpoints : m_endpoints; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_site.start());
        QVERIFY(m_altSite.start());
        m_endpoints = DemoSiteRows::endpointsOf(m_site);
        m_altEndpoints = DemoSiteRows::endpointsOf(m_altSite);
        m_altEndpoints.profile = DemoSiteRows::altProfile();
    }

    void harvestsWhatTheSiteLists_data()
    {
        QTest::addColumn<bool>("alt");
        QTest::addColumn<int>("page");
        for (int page : {0, 1, 77, DemoSite::Catalog::kLastPage})
            QTest::addRow("page %d", page) << false << page;
        for (int page : {0, DemoSite::Catalog::kLastPage})
            QTest::addRow("alt layout, page %d", page) << true << page;
    }
    void harvestsWhatTheSiteLists()
    {
        QFETCH(bool, alt);
        QFETCH(int, page);
        Harvest::ResultList list;
        Harvest::Harvester harvester(list, endpoints(alt));
        const Harvest::HarvestResult result = harvester.harvestPage(static_cast<qint16>(page));

        const std::vector<DemoSite::Entry> catalogue = m_site.catalog().listingPage(page);
        QCOMPARE(result.outcome, Harvest::HarvestOutcome::Rows);
        QCOMPARE(result.entries, int(catalogue.size()));
        QCOMPARE(result.sharesRead, int(catalogue.size()));
        QVERIFY(!result.detailPassStopped);
        QCOMPARE(list.rowCount(), int(catalogue.size()));
        for (int i = 0; i < list.rowCount(); ++i)
            QCOMPARE(list.entry(i), expectedRow(catalogue[size_t(i)], i + 1));
    }

    // The alternative layout's search takes the keyword in UTF-8, its pages declare no charset.
    void searchesInBothLayouts_data()
    {
        QTest::addColumn<bool>("alt");
        QTest::newRow("standard") << false;
        QTest::newRow("alt layout") << true;
    }
    void searchesInBothLayouts()
    {
        QFETCH(bool, alt);
        Harvest::ResultList list;
        Harvest::Harvester harvester(list, endpoints(alt));
        QCOMPARE(harvester.searchKeyword(u"合集"_qs).outcome, Harvest::HarvestOutcome::Rows);
        const std::vector<DemoSite::Entry> found = DemoSite::searchCatalog(m_site.catalog(), "合集");
        QCOMPARE(list.rowCount(), int(found.size()));
        for (int i = 0; i < list.rowCount(); ++i)
            QCOMPARE(list.entry(i), expectedRow(found[size_t(i)], i + 1));
    }

    // A page that says it has nothing is no alarm; one the profile finds nothing on is.
    void pagesWithoutEntries_data()
    {
        QTest::addColumn<bool>("alt");
        QTest::addColumn<bool>("altProfile");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("layoutChange");
        QTest::newRow("past the end") << false << false << DemoSite::Catalog::kLastPage + 1 << false;
        QTest::newRow("alt layout, past the end") << true << true << DemoSite::Catalog::kLastPage + 1 << false;
        QTest::newRow("alt layout, built-in profile") << true << false << 0 << true;
    }
    void pagesWithoutEntries()
    {
        QFETCH(bool, alt);
        QFETCH(bool, altProfile);
        QFETCH(int, page);
        QFETCH(bool, layoutChange);
        Config::Endpoints site = endpoints(alt);
        site.profile = altProfile ? m_altEndpoints.profile : Config::SiteProfile();
        Harvest::ResultList list;
        Harvest::Harvester harvester(list, site);
        const Harvest::HarvestResult result = harvester.harvestPage(static_cast<qint16>(page));
        QCOMPARE(result.outcome, Harvest::HarvestOutcome::NoEntries);
        QCOMPARE(result.probableLayoutChange, layoutChange);
        QCOMPARE(list.rowCount(), 0);
    }

    void cleanupTestCase()
    {
        // Idle kept-alive connections would otherwise hold the server's stop.
        Net::networkManager().clearConnectionCache();
        m_site.stop();
        m_altSite.stop();
    }
};

QTEST_GUILESS_MAIN(TestDemoSiteHarvest)
#include "tst_demositeharvest.moc"
