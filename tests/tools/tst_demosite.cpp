#include "demo-site/server.h"

#include <httplib.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <thread>

using namespace Qt::StringLiterals;
using DemoSite::Catalog;
using DemoSite::Entry;

namespace {

struct Fetched
{
    int status = -1; // -1: no answer
    QString contentType;
    QByteArray body;
    std::string retryAfter;
};

Fetched fetch(int port, const std::string &path)
{
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(20, 0);
    Fetched fetched;
    if (const auto result = client.Get(path.c_str())) {
        fetched.status = result->status;
        fetched.contentType = QString::fromStdString(result->get_header_value("Content-Type"));
        fetched.retryAfter = result->get_header_value("Retry-After");
        fetched.body = QByteArray::fromStdString(result->body);
    }
    return fetched;
}

// Decoded independently of the program's own codec helpers.
QString fromGbk(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QByteArray toGbk(const std::string &utf8)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(QString::fromStdString(utf8));
}

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

// The four pieces of every entry, read straight from the markup as a browser's user sees it.
struct ServedEntry
{
    QString entryId, title, fileCount, extractionCode;
};

QList<ServedEntry> readEntries(const QString &page)
{
    static const QRegularExpression entryPattern(
        u"<dd class='fff' id='([^']*)'><a href='id-\\1\\.html'[^>]*><dfn>([^<]*)</dfn></a>[^<]*"
        "<span class='ssite'>([^<]*)</span>[^<]*<span class='sma'>([^<]*)</span></dd>"_s);
    QList<ServedEntry> entries;
    for (auto match = entryPattern.globalMatch(page); match.hasNext();) {
        const auto m = match.next();
        entries.append({m.captured(1), m.captured(2), m.captured(3), m.captured(4)});
    }
    return entries;
}

std::string listingPath(int page)
{
    return "/act-" + std::to_string(page) + ".html";
}

} // namespace

class tst_DemoSite : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void catalogKeepsItsPromises_data();
    void catalogKeepsItsPromises();
    void catalogGrowsAtTheHead_data();
    void catalogGrowsAtTheHead();
    void listingPagesServeTheCatalog();
    void detailPagesHoldTheShareLink();
    void sharePagesAnswerTheirCodes();
    void otherPathsAnswer_data();
    void otherPathsAnswer();
    void sameSeedSameBytes();
    void versionFileAnnouncesTheVersion();
    void versionFileAnswers_data();
    void versionFileAnswers();
    void searchListsMatchingTitles_data();
    void searchListsMatchingTitles();
    void latencyDelaysEveryAnswer();
    void stopCutsTheLatencyShort();
    void keptAliveConnectionAnswersPromptly();
    void busyOrBadPortIsRefused();
    void executablePrintsItsAddressAndStopsOnTerm();
    void executableRefusesBadOptions_data();
    void executableRefusesBadOptions();

private:
    DemoSite::Server m_site{DemoSite::Options{}};
};

void tst_DemoSite::initTestCase()
{
    QVERIFY(m_site.start());
    QVERIFY(m_site.port() > 0);
    QCOMPARE(q(m_site.baseUrl()), u"http://127.0.0.1:%1/"_s.arg(m_site.port()));
}

void tst_DemoSite::catalogKeepsItsPromises_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("0") << 0u;
    QTest::newRow("1") << 1u;
    QTest::newRow("2") << 2u;
    QTest::newRow("max") << 4294967295u;
}

void tst_DemoSite::catalogKeepsItsPromises()
{
    QFETCH(quint32, seed);
    const Catalog catalog(seed);
    static const QRegularExpression id(u"^[0-9a-z]{18}$"_s), code(u"^[0-9a-z]{4}$"_s),
        count(u"^[0-9]+(个文件)?$"_s), share(u"^(lk/)?[0-9A-Za-z]+$"_s);
    std::set<std::string> ids, shareCodes;
    std::set<std::string> fileCountForms;
    for (int page = 0; page <= Catalog::kLastPage; ++page) {
        const std::vector<Entry> entries = catalog.listingPage(page);
        QVERIFY(entries.size() >= 20 && entries.size() <= 30);
        int withSuffix = 0, withSlash = 0;
        for (const Entry &e : entries) {
            QVERIFY2(id.match(q(e.entryId)).hasMatch(), e.entryId.c_str());
            QVERIFY2(code.match(q(e.extractionCode)).hasMatch(), e.extractionCode.c_str());
            QVERIFY2(count.match(q(e.fileCount)).hasMatch(), e.fileCount.c_str());
            QVERIFY2(share.match(q(e.shareCode)).hasMatch(), e.shareCode.c_str());
            QVERIFY(e.detailSuffix.empty() || e.detailSuffix == "?");
            // A title must survive GBK whole and must not end its field early.
            QVERIFY(!e.title.empty() && e.title.find_first_of("<&") == std::string::npos);
            QCOMPARE(fromGbk(toGbk(e.title)), q(e.title));
            QVERIFY(ids.insert(e.entryId).second);
            QVERIFY(shareCodes.insert(e.shareCode).second);
            QCOMPARE(catalog.entry(e.entryId), std::optional<Entry>(e));
            QCOMPARE(catalog.entryByShareCode(e.shareCode), std::optional<Entry>(e));
            fileCountForms.insert(e.fileCount.find("个文件") == std::string::npos ? "bare" : "files");
            withSuffix += e.detailSuffix == "?";
            withSlash += e.shareCode.starts_with("lk/");
        }
        QVERIFY2(withSuffix >= 3 && withSlash >= 2, qPrintable(u"page %1"_s.arg(page)));
    }
    QCOMPARE(fileCountForms.size(), 2u);
    QVERIFY(catalog.listingPage(-1).empty());
    QVERIFY(catalog.listingPage(Catalog::kLastPage + 1).empty());
    QVERIFY(!catalog.entry("000000000000000000").has_value());
    QVERIFY(!catalog.entryByShareCode("").has_value());
}

void tst_DemoSite::catalogGrowsAtTheHead_data()
{
    QTest::addColumn<int>("newEntries");
    QTest::newRow("3") << 3;
    QTest::newRow("more than a page") << 40;
}

// A grown site lists its new entries first and everything else moved down; two more entries
// come before those of the smaller growth.
void tst_DemoSite::catalogGrowsAtTheHead()
{
    QFETCH(int, newEntries);
    const auto allOf = [](const Catalog &catalog) {
        std::vector<Entry> all;
        for (int page = 0; page <= Catalog::kLastPage; ++page)
            std::ranges::copy(catalog.listingPage(page), std::back_inserter(all));
        return all;
    };
    const Catalog base(7), grown(7, newEntries), larger(7, newEntries + 2);
    const std::vector<Entry> baseEntries = allOf(base), grownEntries = allOf(grown), largerEntries = allOf(larger);
    QVERIFY(std::equal(grownEntries.begin() + newEntries, grownEntries.end(), baseEntries.begin(), baseEntries.end()));
    QVERIFY(std::equal(largerEntries.begin() + 2, largerEntries.end(), grownEntries.begin(), grownEntries.end()));
    for (int page = 0; page < Catalog::kLastPage; ++page)
        QCOMPARE(grown.listingPage(page).size(), base.listingPage(page).size());
    for (int i = 0; i < newEntries; ++i) {
        const Entry &added = grownEntries[std::size_t(i)];
        QVERIFY(!base.entry(added.entryId) && !base.entryByShareCode(added.shareCode));
        QCOMPARE(grown.entryByShareCode(added.shareCode), std::optional<Entry>(added));
    }
    QCOMPARE(grown.entry(baseEntries.back().entryId), std::optional<Entry>(baseEntries.back()));
}

void tst_DemoSite::listingPagesServeTheCatalog()
{
    for (int page = 0; page <= Catalog::kLastPage; ++page) {
        const Fetched fetched = fetch(m_site.port(), listingPath(page));
        QCOMPARE(fetched.status, 200);
        QCOMPARE(fetched.contentType, u"text/html; charset=gbk"_s);
        const QString text = fromGbk(fetched.body);
        const std::vector<Entry> expected = m_site.catalog().listingPage(page);
        // The harvest pairs the markers by occurrence over the whole page, so none may stand
        // anywhere but in an entry.
        for (const QString &marker : {u"<dd class='fff' id='"_s, u"<dfn>"_s, u"<span class='ssite'>"_s,
                                      u"<span class='sma'>"_s})
            QCOMPARE(text.count(marker), qsizetype(expected.size()));
        const QList<ServedEntry> served = readEntries(text);
        QCOMPARE(served.size(), qsizetype(expected.size()));
        for (qsizetype i = 0; i < served.size(); ++i) {
            const Entry &e = expected[static_cast<std::size_t>(i)];
            QCOMPARE(served[i].entryId, q(e.entryId));
            QCOMPARE(served[i].title, q(e.title));
            QCOMPARE(served[i].fileCount, q(e.fileCount));
            QCOMPARE(served[i].extractionCode, q(e.extractionCode));
            QVERIFY(fetched.body.contains(toGbk(e.title)));
            QVERIFY(!fetched.body.contains(QByteArray::fromStdString(e.title))); // GBK, not UTF-8
        }
        QCOMPARE(text.contains(u"href='act-%1.html'"_s.arg(page + 1)), true);
        QCOMPARE(text.contains(u"href='act-%1.html'"_s.arg(page - 1)), page > 0);
    }
}

void tst_DemoSite::detailPagesHoldTheShareLink()
{
    const QString prefix = q(m_site.baseUrl()) + u"yunpan/"_s;
    for (int page : {0, 77, Catalog::kLastPage}) {
        for (const Entry &e : m_site.catalog().listingPage(page)) {
            const Fetched fetched = fetch(m_site.port(), "/id-" + e.entryId + ".html");
            QCOMPARE(fetched.status, 200);
            QCOMPARE(fetched.contentType, u"text/html; charset=gbk"_s);
            const QString text = fromGbk(fetched.body);
            QCOMPARE(text.count(prefix), 1);
            QVERIFY(text.contains(prefix + q(e.shareCode + e.detailSuffix) + u'"'));
            // The cut a reader makes: after the prefix, up to the quote, "?" dropped.
            QString cut = text.mid(text.indexOf(prefix) + prefix.size());
            cut.truncate(cut.indexOf(u'"'));
            QCOMPARE(cut.remove(u'?'), q(e.shareCode));
            QVERIFY(text.contains(q(e.title)));
            QVERIFY(text.contains(q(e.extractionCode)));
        }
    }
}

// Every state of a share is somewhere in the catalogue: live shares show their page with the
// title, gone ones answer 404, throttled ones 429 with a Retry-After, the others 200 without the
// title; a flaky share's first answer is its cancelled page, its second the live one.
void tst_DemoSite::sharePagesAnswerTheirCodes()
{
    constexpr int kEach = 2; // shares fetched of each state
    int slashCodes = 0;
    std::map<DemoSite::ShareState, int> states;
    for (int page = 0; page <= DemoSite::Catalog::kLastPage; ++page) {
        for (const Entry &e : m_site.catalog().listingPage(page)) {
            if (states[e.share] >= kEach)
                continue;
            const Fetched fetched = fetch(m_site.port(), std::string(DemoSite::kSharePath) + e.shareCode);
            const int status = e.share == DemoSite::ShareState::Gone ? 404 : e.share == DemoSite::ShareState::Throttled ? 429 : 200;
            QCOMPARE(fetched.status, status);
            QCOMPARE(fetched.retryAfter, status == 429 ? std::to_string(DemoSite::kShareRetryAfterSeconds) : std::string());
            QCOMPARE(fromGbk(fetched.body).contains(q(e.title)), e.share == DemoSite::ShareState::Live);
            if (e.share == DemoSite::ShareState::Flaky)
                QVERIFY(fromGbk(fetch(m_site.port(), std::string(DemoSite::kSharePath) + e.shareCode).body).contains(q(e.title)));
            slashCodes += e.shareCode.find('/') != std::string::npos;
            ++states[e.share];
        }
    }
    QVERIFY(slashCodes > 0);
    QCOMPARE(states.size(), size_t(int(DemoSite::ShareState::Flaky) + 1));
    for (const auto &[state, count] : states)
        QCOMPARE(count, kEach);
}

void tst_DemoSite::otherPathsAnswer_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text"); // a piece of the decoded answer
    const QString noPage = u"页面不存在"_s, noMore = u"没有更多资源"_s;
    const std::string firstId = m_site.catalog().listingPage(0).front().entryId;
    QTest::newRow("front page") << u"/"_s << 200 << u"act-0.html"_s;
    QTest::newRow("probe") << u"/probe/"_s << 200 << u"ok"_s;
    QTest::newRow("service") << u"/service.html"_s << 200 << u"客服"_s;
    QTest::newRow("page 151") << u"/act-151.html"_s << 200 << noMore;
    QTest::newRow("page 1000") << u"/act-1000.html"_s << 200 << noMore;
    QTest::newRow("int max") << u"/act-2147483647.html"_s << 200 << noMore;
    QTest::newRow("beyond int") << u"/act-2147483648.html"_s << 200 << noMore;
    QTest::newRow("20 digits") << u"/act-99999999999999999999.html"_s << 200 << noMore;
    QTest::newRow("unknown path") << u"/nothing"_s << 404 << noPage;
    QTest::newRow("negative page") << u"/act--1.html"_s << 404 << noPage;
    QTest::newRow("plus sign") << u"/act-+1.html"_s << 404 << noPage;
    QTest::newRow("no page number") << u"/act-.html"_s << 404 << noPage;
    QTest::newRow("letters") << u"/act-1x.html"_s << 404 << noPage;
    QTest::newRow("no extension") << u"/act-1"_s << 404 << noPage;
    QTest::newRow("unknown id") << u"/id-000000000000000000.html"_s << 404 << noPage;
    QTest::newRow("id with tail") << u"/id-%1x.html"_s.arg(q(firstId)) << 404 << noPage;
    QTest::newRow("empty id") << u"/id-.html"_s << 404 << noPage;
    QTest::newRow("unknown share") << u"/yunpan/nothing"_s << 404 << noPage;
    QTest::newRow("share root") << u"/yunpan/"_s << 404 << noPage;
    QTest::newRow("version dir") << u"/version/"_s << 404 << noPage;
    QTest::newRow("long share path") << u"/yunpan/"_s + QString(8000, u'a') << 404 << noPage;
    QTest::newRow("over-long path") << u"/"_s + QString(9000, u'a') << 414 << QString();
    const QString avatars = u"/forum/uc_server/data/avatar/000/00/00/"_s;
    QTest::newRow("forum registration") << u"/forum/member.php?mod=register"_s << 200 << u"立即注册"_s;
    QTest::newRow("forum logout") << u"/forum/member.php?mod=logging&action=logout"_s << 200 << u"退出"_s;
    QTest::newRow("unknown member action") << u"/forum/member.php?mod=logging"_s << 404 << noPage;
    QTest::newRow("stored avatar") << avatars + u"42_avatar_middle.jpg"_s << 200 << u"BM"_s;
    QTest::newRow("avatar not stored") << avatars + u"05_avatar_middle.jpg"_s << 404 << noPage;
    QTest::newRow("avatar path of another form") << avatars + u"4x_avatar_middle.jpg"_s << 404 << noPage;
}

void tst_DemoSite::otherPathsAnswer()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QString, text);
    const Fetched fetched = fetch(m_site.port(), path.toStdString());
    QCOMPARE(fetched.status, status);
    const QString page = fromGbk(fetched.body);
    QVERIFY(page.contains(text));
    QVERIFY(!page.contains(u"<dd class='fff'"_s) && !page.contains(u"<dfn>"_s));
    QVERIFY(!page.contains(u"/yunpan/"_s));
    QCOMPARE(fetch(m_site.port(), "/probe/").status, 200); // still serving
}

void tst_DemoSite::sameSeedSameBytes()
{
    DemoSite::Server twin, other(DemoSite::Options{.seed = 2});
    QVERIFY(twin.start() && other.start());
    const auto detail = [](const DemoSite::Server &site, int page) {
        const Entry first = site.catalog().listingPage(page).front();
        return fetch(site.port(), "/id-" + first.entryId + ".html")
            .body.replace(QByteArray::fromStdString(site.baseUrl()), "BASE/");
    };
    for (int page : {0, 1, 99, Catalog::kLastPage}) {
        const QByteArray mine = fetch(m_site.port(), listingPath(page)).body;
        QCOMPARE(fetch(twin.port(), listingPath(page)).body, mine);
        QVERIFY(fetch(other.port(), listingPath(page)).body != mine);
        QCOMPARE(detail(twin, page), detail(m_site, page));
        QVERIFY(detail(other, page) != detail(m_site, page));
    }
}

void tst_DemoSite::versionFileAnnouncesTheVersion()
{
    const Fetched current = fetch(m_site.port(), "/version/main.txt");
    QCOMPARE(current.status, 200);
    const QString text = fromGbk(current.body);
    QVERIFY(text.contains(u"360:V1.0|"_s));
    QCOMPARE(text.mid(text.indexOf(u"360:"_s) + 4).section(u'|', 0, 0), u"V1.0"_s);

    DemoSite::Server newer(DemoSite::Options{.announcedVersion = "V1.1"});
    QVERIFY(newer.start());
    QVERIFY(fetch(newer.port(), "/version/main.txt").body.contains("360:V1.1|"));
}

void tst_DemoSite::versionFileAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("error page") << int(DemoSite::VersionFileAnswer::ErrorPage) << 404 << u"页面不存在"_s;
    QTest::newRow("empty") << int(DemoSite::VersionFileAnswer::Empty) << 200 << QString();
}

void tst_DemoSite::versionFileAnswers()
{
    QFETCH(int, answer);
    QFETCH(int, status);
    QFETCH(QString, text);
    DemoSite::Server site(DemoSite::Options{.versionFileAnswer = DemoSite::VersionFileAnswer(answer)});
    QVERIFY(site.start());
    const Fetched fetched = fetch(site.port(), "/version/main.txt");
    QCOMPARE(fetched.status, status);
    QCOMPARE(fetched.body.isEmpty(), text.isEmpty());
    QVERIFY(fromGbk(fetched.body).contains(text));
    QVERIFY(!fetched.body.contains("360:"));
}

void tst_DemoSite::searchListsMatchingTitles_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::newRow("Chinese") << u"周星驰"_s;
    QTest::newRow("ASCII") << u"Java"_s;
    QTest::newRow("apostrophe and space") << u"Rock'n'Roll经典"_s;
    QTest::newRow("no title holds it") << u"没有这种资源"_s;
    QTest::newRow("markup is not echoed") << u"<dfn>"_s;
}

void tst_DemoSite::searchListsMatchingTitles()
{
    QFETCH(QString, keyword);
    QStringList expected; // entry, title, file count, code of the first page's worth of matches
    for (int page = 0; page <= Catalog::kLastPage; ++page) {
        for (const Entry &e : m_site.catalog().listingPage(page)) {
            if (q(e.title).contains(keyword) && expected.size() < Catalog::kMaxEntriesPerPage)
                expected.append(QStringList{q(e.entryId), q(e.title), q(e.fileCount), q(e.extractionCode)}.join(u'|'));
        }
    }
    QStringEncoder gbk("GBK");
    const QByteArray wd = QByteArray(gbk.encode(keyword)).toPercentEncoding();
    const Fetched fetched = fetch(m_site.port(), "/?wd=" + wd.toStdString() + "&submit.x=49&submit.y=14");

    QCOMPARE(fetched.status, 200);
    const QString page = fromGbk(fetched.body);
    QStringList served;
    for (const ServedEntry &e : readEntries(page))
        served.append(QStringList{e.entryId, e.title, e.fileCount, e.extractionCode}.join(u'|'));
    QCOMPARE(served, expected);
    QCOMPARE(page.count(u"<dfn>"_s), expected.size()); // no marker but the entries'
}

void tst_DemoSite::latencyDelaysEveryAnswer()
{
    constexpr int latency = 300;
    DemoSite::Server slow(DemoSite::Options{.latencyMs = latency});
    QVERIFY(slow.start());
    for (const char *path : {"/act-0.html", "/nothing", "/version/main.txt"}) {
        QElapsedTimer timer;
        timer.start();
        const Fetched fetched = fetch(slow.port(), path);
        QVERIFY(fetched.status > 0);
        QVERIFY2(timer.elapsed() >= latency, path);
    }
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(fetch(m_site.port(), "/act-0.html").status, 200);
    QVERIFY(timer.elapsed() < latency); // the other server is not slowed down
}

void tst_DemoSite::stopCutsTheLatencyShort()
{
    DemoSite::Server sleepy(DemoSite::Options{.latencyMs = 20000});
    QVERIFY(sleepy.start());
    const int port = sleepy.port();
    std::thread waiting([port] { fetch(port, "/act-0.html"); });
    QTest::qWait(200);
    QElapsedTimer timer;
    timer.start();
    sleepy.stop();
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    waiting.join();
    sleepy.stop(); // a second stop is harmless
    QVERIFY(!sleepy.start()); // a server runs once
}

void tst_DemoSite::keptAliveConnectionAnswersPromptly()
{
    // A harvest reads a page and then its details one after another on one connection; a
    // stall per answer (delayed acknowledgement meeting Nagle's algorithm) would cost seconds.
    httplib::Client client("127.0.0.1", m_site.port());
    client.set_keep_alive(true);
    constexpr int requests = 30;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < requests; ++i) {
        const auto result = client.Get(listingPath(i).c_str());
        QVERIFY(result && result->status == 200);
    }
    QVERIFY2(timer.elapsed() < requests * 20, qPrintable(QString::number(timer.elapsed())));
}

void tst_DemoSite::busyOrBadPortIsRefused()
{
    DemoSite::Server second;
    QVERIFY(!second.start(m_site.port()));
    QVERIFY(!second.start(-1));
    QVERIFY(!second.start(65536));
    QVERIFY(!m_site.start()); // already running
    QCOMPARE(fetch(m_site.port(), "/probe/").status, 200);
}

void tst_DemoSite::executablePrintsItsAddressAndStopsOnTerm()
{
    QProcess process;
    process.start(QStringLiteral(DEMO_SITE_EXECUTABLE), {u"--port"_s, u"0"_s, u"--seed"_s, u"3"_s});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 10000);
    const QString line = QString::fromUtf8(process.readLine());
    static const QRegularExpression listening(u"^listening on http://127\\.0\\.0\\.1:(\\d+)/\n$"_s);
    const auto match = listening.match(line);
    QVERIFY2(match.hasMatch(), qPrintable(line));

    DemoSite::Server sameSeed(DemoSite::Options{.seed = 3});
    QVERIFY(sameSeed.start());
    QCOMPARE(fetch(match.captured(1).toInt(), "/act-5.html").body, fetch(sameSeed.port(), "/act-5.html").body);

    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void tst_DemoSite::executableRefusesBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("port not a number") << QStringList{u"--port"_s, u"abc"_s};
    QTest::newRow("port too high") << QStringList{u"--port=65536"_s};
    QTest::newRow("negative seed") << QStringList{u"--seed"_s, u"-1"_s};
    QTest::newRow("seed too high") << QStringList{u"--seed"_s, u"4294967296"_s};
    QTest::newRow("latency without value") << QStringList{u"--latency-ms"_s};
    QTest::newRow("unknown option") << QStringList{u"--frobnicate"_s, u"1"_s};
    QTest::newRow("unknown version-file answer") << QStringList{u"--version-file=missing"_s};
}

void tst_DemoSite::executableRefusesBadOptions()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(QStringLiteral(DEMO_SITE_EXECUTABLE), arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    const QByteArray error = process.readAllStandardError();
    QCOMPARE(error.count('\n'), 1);
    QVERIFY(error.endsWith('\n'));
}

QTEST_GUILESS_MAIN(tst_DemoSite)
#include "tst_demosite.moc"
