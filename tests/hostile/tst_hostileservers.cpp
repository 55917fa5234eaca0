// The program against a demo site that misbehaves on purpose (`DemoSite::Fault`): every fault
// must end in its defined outcome, in bounded time, with no row lost or misplaced.
#include "demo-site/server.h"
#include "gui/loginwindow.h"
#include "harvest/harvester.h"
#include "harvest/siteurls.h"
#include "login/avatarlookup.h"
#include "login/exchange.h"
#include "net/pagefetch.h"
#include "net/networkaccess.h"
#include "net/versionfile.h"
#include "support/demositerows.h"
#include "support/loopbackserver.h"
#include "support/recordedform.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

using namespace Qt::StringLiterals;
using DemoSite::Fault;
using Harvest::HarvestOutcome;

namespace {

enum class Rows {
    None,         // the list stays empty
    Page0,        // listing page 0 with its share codes
    Page0NoCodes, // listing page 0, no share code read
    Page0Mended,  // listing page 0, each title followed by U+FFFD
    Huge,         // the 10,000 entries of the huge listing with their share codes
};

QList<Harvest::ResourceEntry> expectedRows(const DemoSite::Catalog &catalog, Rows rows)
{
    if (rows == Rows::None)
        return {};
    const std::vector<DemoSite::Entry> entries =
        rows == Rows::Huge ? DemoSite::hugeListingEntries(catalog) : catalog.listingPage(0);
    QList<Harvest::ResourceEntry> expected;
    for (const DemoSite::Entry &entry : entries) {
        Harvest::ResourceEntry row = DemoSiteRows::expectedRow(entry, int(expected.size()) + 1);
        if (rows == Rows::Page0NoCodes)
            row.shareCode.clear();
        if (rows == Rows::Page0Mended)
            row.title += QChar::ReplacementCharacter;
        expected.append(row);
    }
    return expected;
}

long peakMemoryKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Resident memory in KiB as /proc/self/status names it: "VmRSS:" now, "VmHWM:" the peak since
// resetPeakMemory().
long statusKib(QByteArrayView field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

bool resetPeakMemory()
{
    QFile clearRefs(u"/proc/self/clear_refs"_s);
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

enum class Reader { LoginAnswer, Page, Avatar };

// A site with one fault, and the program's endpoints pointing at it.
struct FaultySite
{
    explicit FaultySite(Fault fault, std::string announcedVersion = "V1.0", std::string foreignOrigin = {})
        : site(DemoSite::Options{
            .announcedVersion = std::move(announcedVersion), .fault = fault, .foreignOrigin = std::move(foreignOrigin)})
    {
    }
    ~FaultySite() { Net::networkManager().clearConnectionCache(); } // or the stop waits out idle connections

    bool start()
    {
        if (!site.start())
            return false;
        endpoints = DemoSiteRows::endpointsOf(site);
        endpoints.timeout = std::chrono::seconds(5);
        return true;
    }

    DemoSite::Server site;
    Config::Endpoints endpoints;
};

} // namespace

class TestHostileServers : public QObject
{
    Q_OBJECT

private slots:
    void listingHarvest_data();
    void listingHarvest();
    void hugeListingKeepsTheWindowResponsive();
    void hugeLoginAnswerIsClassified();
    void securityFaults_data();
    void securityFaults();
    void fakeAvatarShowsTheDefault();
    void hugeVersionFileIsCut();
};

void TestHostileServers::listingHarvest_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<HarvestOutcome>("outcome");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<bool>("detailPassStopped"); // at row 0

    // The transfer timeout ends the wait; the rows stay, as after any failed detail page.
    QTest::newRow("silent detail page") << Fault::SilentDetail << 1000 << HarvestOutcome::Rows << Rows::Page0NoCodes << true;
    // Half a page is no page: nothing of it reaches the list.
    QTest::newRow("reset inside the body") << Fault::ResetListing << 5000 << HarvestOutcome::ListingFailed << Rows::None << false;
    QTest::newRow("10 MB, 10,000 entries") << Fault::HugeListing << 5000 << HarvestOutcome::Rows << Rows::Huge << false;
    // A lead byte without its second byte becomes U+FFFD and takes no markup with it.
    QTest::newRow("invalid GBK in titles") << Fault::BadGbkTitles << 5000 << HarvestOutcome::Rows << Rows::Page0Mended << false;
    QTest::newRow("unknown charset: GBK") << Fault::UnknownCharset << 5000 << HarvestOutcome::Rows << Rows::Page0 << false;
    // The shared manager follows at most 50 redirects (Qt's limit), then the fetch fails.
    QTest::newRow("redirect loop") << Fault::RedirectLoop << 5000 << HarvestOutcome::ListingFailed << Rows::None << false;
}

void TestHostileServers::listingHarvest()
{
    QFETCH(Fault, fault);
    QFETCH(int, timeoutMs);
    QFETCH(HarvestOutcome, outcome);
    QFETCH(Rows, rows);
    QFETCH(bool, detailPassStopped);
    FaultySite faulty(fault);
    QVERIFY(faulty.start());
    faulty.endpoints.timeout = std::chrono::milliseconds(timeoutMs);
    Harvest::ResultList list;
    Harvest::Harvester harvester(list, faulty.endpoints);

    QElapsedTimer elapsed;
    elapsed.start();
    const Harvest::HarvestResult result = harvester.harvestPage(0);

    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.detailPassStopped, detailPassStopped);
    QCOMPARE(result.stoppedAtRow, detailPassStopped ? 0 : -1);
    QCOMPARE(list.entries(), expectedRows(faulty.site.catalog(), rows));
    if (fault == Fault::SilentDetail)
        QVERIFY(elapsed.elapsed() >= timeoutMs * 9 / 10); // Qt's coarse timers may fire 5 % early
    QVERIFY2(elapsed.elapsed() < 60000, "no fault may hold the harvest");
    if (fault == Fault::HugeListing)
        qInfo("huge listing: %lld ms, peak memory of the process %ld KiB", elapsed.elapsed(), peakMemoryKib());
}

// The listing arrives, is decoded, parsed and filled into the list view while the clock's
// timer keeps firing: no pause of the event loop as long as the clock's second.
void TestHostileServers::hugeListingKeepsTheWindowResponsive()
{
    FaultySite faulty(Fault::HugeListing);
    QVERIFY(faulty.start());
    RecordedForm f(faulty.endpoints);
    f.form.show();

    QElapsedTimer sinceTick;
    qint64 longestPause = 0;
    QTimer ticker;
    ticker.setInterval(20);
    connect(&ticker, &QTimer::timeout, this, [&] {
        longestPause = std::max(longestPause, sinceTick.restart());
    });
    // Measured until the detail pass begins, then the site goes away so that the pass stops.
    int rowsAtDetailPass = -1;
    connect(f.statusBar(), &Gui::StatusBar::panelTextChanged, this, [&](int panel, const QString &text) {
        if (panel != 2 || text != u"资源获取完毕,正在获取礼包码.."_s || rowsAtDetailPass >= 0)
            return;
        longestPause = std::max(longestPause, sinceTick.elapsed());
        rowsAtDetailPass = f.child<QTreeView>("ListView1")->model()->rowCount();
        Net::networkManager().clearConnectionCache();
        faulty.site.stop();
        sinceTick.restart(); // the stop is the test's, not the window's
    });
    sinceTick.start();
    ticker.start();
    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);
    QTest::qWait(200); // the view lays out and paints its rows
    longestPause = std::max(longestPause, sinceTick.elapsed());

    QCOMPARE(rowsAtDetailPass, DemoSite::kHugeListingEntries);
    qInfo("huge listing in the window: longest pause of the event loop %lld ms, peak memory %ld KiB",
          longestPause, peakMemoryKib());
    QVERIFY2(longestPause < 1000, "the clock must keep ticking");
}

// 900 KB ahead of the message, under the login answer's limit: read whole, classified as
// without them.
void TestHostileServers::hugeLoginAnswerIsClassified()
{
    FaultySite faulty(Fault::HugeLoginAnswer);
    QVERIFY(faulty.start());
    Login::Exchange exchange(faulty.endpoints);
    QSignalSpy finished(&exchange, &Login::Exchange::finished);
    exchange.start(Login::LoginForm{u"demo"_s, u"demo123"_s, 0, {}});
    QVERIFY(finished.wait(30000));
    const auto result = finished.at(0).at(0).value<Login::LoginResult>();
    QCOMPARE(result.outcome, Login::LoginOutcome::Success);
    QCOMPARE(result.userName, u"demo"_s);
    QCOMPARE(result.userGroup, u"VIP会员"_s);
    QCOMPARE(result.uid, std::optional<QString>(u"42"_s));
}

void TestHostileServers::securityFaults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<Reader>("reader");
    // The password form reaches no other origin; the login ends as a forum failure.
    QTest::newRow("login POST redirected to another port") << Fault::LoginRedirect << Reader::LoginAnswer;
    // Answers without end are cut at their reader's limit and fail as any broken answer does.
    QTest::newRow("endless login answer") << Fault::EndlessLogin << Reader::LoginAnswer;
    QTest::newRow("endless page") << Fault::EndlessListing << Reader::Page;
    QTest::newRow("endless avatar") << Fault::EndlessAvatar << Reader::Avatar;
}

void TestHostileServers::securityFaults()
{
    QFETCH(Fault, fault);
    QFETCH(Reader, reader);
    LoopbackServer foreign;
    QVERIFY(foreign.start());
    FaultySite faulty(fault, "V1.0", foreign.baseUrl().toStdString());
    QVERIFY(faulty.start());
    const long residentBefore = statusKib("VmRSS:");
    QVERIFY(resetPeakMemory());

    if (reader == Reader::LoginAnswer) {
        Login::Exchange exchange(faulty.endpoints);
        QSignalSpy finished(&exchange, &Login::Exchange::finished);
        exchange.start(Login::LoginForm{u"demo"_s, u"demo123"_s, 0, {}});
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.at(0).at(0).value<Login::LoginResult>().outcome, Login::LoginOutcome::ForumFailure);
    } else if (reader == Reader::Avatar) {
        Login::AvatarLookup lookup(faulty.endpoints.forum, faulty.endpoints.timeout);
        QSignalSpy found(&lookup, &Login::AvatarLookup::finished);
        lookup.lookUp(u"42"_s);
        QVERIFY(found.wait(30000));
        QVERIFY(found.at(0).at(0).value<Login::AvatarResult>().picture.isEmpty());
    } else {
        QCOMPARE(Net::fetchPageText(Harvest::listingUrl(faulty.endpoints.shareSite, faulty.endpoints.profile, 0), faulty.endpoints.timeout), std::nullopt);
    }
    QCOMPARE(foreign.requests().size(), 0u);
    const long growthKib = statusKib("VmHWM:") - residentBefore;
    qInfo("peak memory growth %ld KiB", growthKib);
    QVERIFY2(growthKib < 100 * 1024, "the answer must be cut at its limit");
}

// A text page declared image/jpeg is no picture: the lookup drops it, so the login window shows
// its default avatar.
void TestHostileServers::fakeAvatarShowsTheDefault()
{
    FaultySite faulty(Fault::FakeAvatar);
    QVERIFY(faulty.start());
    Login::AvatarLookup lookup(faulty.endpoints.forum, faulty.endpoints.timeout);
    QSignalSpy found(&lookup, &Login::AvatarLookup::finished);
    lookup.lookUp(u"42"_s);
    QVERIFY(found.wait(10000));
    QVERIFY(found.at(0).at(0).value<Login::AvatarResult>().picture.isEmpty());

    QTemporaryDir iniFolder;
    Config::Endpoints endpoints = faulty.endpoints;
    endpoints.loginIni = iniFolder.filePath(u"login.ini"_s);
    Gui::LoginWindow window(Gui::LoginWindowSetup{endpoints, [] { return QTime(9, 5, 3); }, [](const QUrl &) {},
                                      [](const QString &, Gui::MessageIcon, const QString &) {}});
    QSignalSpy shown(&window, &Gui::LoginWindow::avatarShown);
    window.showAvatar(u"42"_s);
    QVERIFY(shown.wait(10000));
    const QImage avatar = window.findChild<QLabel *>(u"Image1"_s)->pixmap().toImage();
    QCOMPARE(avatar.convertToFormat(QImage::Format_RGB32),
             QImage(u":/gui/defaultavatar.png"_s).convertToFormat(QImage::Format_RGB32));
}

// The entry stands after 1 MB of other products' lines: found, and judged like any other.
void TestHostileServers::hugeVersionFileIsCut()
{
    FaultySite faulty(Fault::HugeVersionFile, "V9.9");
    QVERIFY(faulty.start());
    QElapsedTimer elapsed;
    elapsed.start();
    const Net::VersionVerdict check =
        Net::judgeVersionFile(Net::fetchPageText(Net::versionFileUrl(faulty.endpoints.updateServer), faulty.endpoints.timeout));
    QCOMPARE(check.status, Net::VersionStatus::Newer);
    QCOMPARE(check.version, u"V9.9"_s);
    QVERIFY(elapsed.elapsed() < 10000);
}

QTEST_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
