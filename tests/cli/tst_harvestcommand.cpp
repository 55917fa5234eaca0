#include "scriptedsite.h"
#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

CliOutcome runHarvest(const ScriptedSite &site, const QStringList &arguments, const QString &shareSite = {})
{
    const Config::Endpoints endpoints = site.endpoints();
    return runCli(QStringList{u"--share-site"_qs, shareSite.isEmpty() ? endpoints.shareSite : shareSite,
                              u"--share-prefix"_qs, endpoints.sharePrefix, u"--timeout"_qs, u"10"_qs, u"harvest"_qs}
                  + arguments);
}

QString tsvLine(int page, int i, bool withShareCode = true)
{
    const Harvest::ResourceEntry e = ScriptedSite::row(page, i, withShareCode);
    return QStringList{e.number, e.title, e.fileCount, e.shareCode, e.entryId, e.extractionCode}.join(u'\t') + u'\n';
}

} // namespace

class TestHarvestCommand : public QObject
{
    Q_OBJECT

    ScriptedSite m_site;

private slots:
    void initTestCase();
    void init() { m_site.clearRequests(); }
    void rowsAsTsv();
    void rowsAsJson();
    void nothingFound();
    void detailPassStopped();
    void listingFailed_data();
    void listingFailed();
    void badUsage_data();
    void badUsage();
};

void TestHarvestCommand::initTestCase()
{
    m_site.addListing(0, 3);
    m_site.addListing(32767, 1);
    m_site.setPage("/act-5.html", "<html><p>没有资源</p></html>");
    m_site.setPage("/act-6.html", "");
    m_site.addListing(8, 3);
    m_site.setDetail(8, 2, "<html>分享已取消</html>");
    QVERIFY(m_site.start());
}

void TestHarvestCommand::rowsAsTsv()
{
    const CliOutcome outcome = runHarvest(m_site, {});
    QCOMPARE(outcome.code, 0);
    QCOMPARE(outcome.out, tsvLine(0, 1) + tsvLine(0, 2) + tsvLine(0, 3));
    QCOMPARE(outcome.err, u"正在获取第0页资源..\n资源获取完毕,正在获取礼包码..\n礼包码获取完毕..\n"_qs);
    QCOMPARE(m_site.requestedPaths().size(), 4);
}

void TestHarvestCommand::rowsAsJson()
{
    const CliOutcome outcome = runHarvest(m_site, {u"--page=32767"_qs, u"--format"_qs, u"json"_qs});
    QCOMPARE(outcome.code, 0);
    const QJsonArray rows = QJsonDocument::fromJson(outcome.out.toUtf8()).array();
    QCOMPARE(rows.size(), 1);
    const Harvest::ResourceEntry e = ScriptedSite::row(32767, 1, true);
    const QJsonObject expected{{u"number"_qs, e.number},       {u"title"_qs, e.title},
                               {u"fileCount"_qs, e.fileCount}, {u"shareCode"_qs, e.shareCode},
                               {u"entryId"_qs, e.entryId},     {u"extractionCode"_qs, e.extractionCode}};
    QCOMPARE(rows.at(0).toObject(), expected);
    QVERIFY(outcome.err.startsWith(u"正在获取第32767页资源..\n"_qs));
}

void TestHarvestCommand::nothingFound()
{
    const CliOutcome outcome = runHarvest(m_site, {u"--page"_qs, u"5"_qs});
    QCOMPARE(outcome.code, 1);
    QCOMPARE(outcome.out, QString());
    QCOMPARE(outcome.err, u"正在获取第5页资源..\n未获取到任何资源\n"_qs);
    QCOMPARE(m_site.requestedPaths(), QStringList{u"/act-5.html"_qs});
}

void TestHarvestCommand::detailPassStopped()
{
    const CliOutcome outcome = runHarvest(m_site, {u"--page=8"_s});
    QCOMPARE(outcome.code, 4);
    QCOMPARE(outcome.out, tsvLine(8, 1) + tsvLine(8, 2, false) + tsvLine(8, 3, false));
    const QString lastLine = outcome.err.section(u'\n', -2, -2);
    QVERIFY2(lastLine.contains(u"第2行"_s) && lastLine.contains(ScriptedSite::entryId(8, 2)), qPrintable(outcome.err));
}

void TestHarvestCommand::listingFailed_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("refused");
    QTest::newRow("empty page") << QStringList{u"--page=6"_qs} << false;
    QTest::newRow("missing page") << QStringList{u"--page=7"_qs} << false;
    QTest::newRow("connection refused") << QStringList() << true;
}

void TestHarvestCommand::listingFailed()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, refused);
    const CliOutcome outcome = runHarvest(m_site, arguments, refused ? ScriptedSite::closedSite() : QString());
    QCOMPARE(outcome.code, 3);
    QCOMPARE(outcome.out, QString());
    QVERIFY(outcome.err.startsWith(u"正在获取第"_qs));
    QCOMPARE(outcome.err.count(u'\n'), 1);
}

void TestHarvestCommand::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("negative page") << QStringList{u"--page"_qs, u"-1"_qs};
    QTest::newRow("page beyond 16 bits") << QStringList{u"--page=32768"_qs};
    QTest::newRow("page far beyond") << QStringList{u"--page=4294967296"_qs};
    QTest::newRow("page not a number") << QStringList{u"--page"_qs, u"abc"_qs};
    QTest::newRow("page with sign") << QStringList{u"--page=+3"_qs};
    QTest::newRow("page without value") << QStringList{u"--page"_qs};
    QTest::newRow("empty page value") << QStringList{u"--page="_qs};
    QTest::newRow("unknown format") << QStringList{u"--format"_qs, u"xml"_qs};
    QTest::newRow("format in capitals") << QStringList{u"--format=TSV"_qs};
    QTest::newRow("unknown option") << QStringList{u"--pages=1"_qs};
    QTest::newRow("stray argument") << QStringList{u"1"_qs};
}

void TestHarvestCommand::badUsage()
{
    QFETCH(QStringList, arguments);
    const CliOutcome outcome = runHarvest(m_site, arguments);
    QCOMPARE(outcome.code, 2);
    QCOMPARE(outcome.out, QString());
    QVERIFY(outcome.err.contains(u"usage:"_qs));
    QVERIFY(m_site.requestedPaths().isEmpty());
}

QTEST_GUILESS_MAIN(TestHarvestCommand)
#include "tst_harvestcommand.moc"
