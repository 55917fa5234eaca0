// The harvester against the demo site, whose pages are written from the page format by code
// that shares nothing with the parser: every row must be exactly what the site's catalogue says.
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

    DemoSite::Server m_site{DemoSite::Options{7, 0, "V1.0"}};
    Config::Endpoints m_endpoints;

private slots:
    void initTestCase()
    {
        QVERIFY(m_site.start());
        m_endpoints = Config::Endpoints::onDemoSite(QString::fromStdString(m_site.baseUrl()));
    }

    void harvestsWhatTheSiteLists_data()
    {
        QTest::addColumn<int>("page");
        for (int page : {0, 1, 77, DemoSite::Catalog::kLastPage})
            QTest::addRow("page %d", page) << page;
    }
    void harvestsWhatTheSiteLists()
    {
        QFETCH(int, page);
        Harvest::ResultList list;
        Harvest::Harvester harvester(list, m_endpoints);
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

    void pagePastTheEndHasNoEntry()
    {
        Harvest::ResultList list;
        Harvest::Harvester harvester(list, m_endpoints);
        QCOMPARE(harvester.harvestPage(DemoSite::Catalog::kLastPage + 1).outcome, Harvest::HarvestOutcome::NoEntries);
        QCOMPARE(list.rowCount(), 0);
    }

    void cleanupTestCase()
    {
        // Idle kept-alive connections would otherwise hold the server's stop.
        Net::networkManager().clearConnectionCache();
        m_site.stop();
    }
};

QTEST_GUILESS_MAIN(TestDemoSiteHarvest)
#include "tst_demositeharvest.moc"
