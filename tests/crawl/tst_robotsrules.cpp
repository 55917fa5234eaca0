// Which paths a robots.txt leaves to a crawler: the examples of RFC 9309, percent-encoding,
// ties, hostile bodies; the Crawl-delay read; what a failed fetch of robots.txt means.
#include "crawl/robotsrules.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// RFC 9309 section 5.1.
const QByteArray kGroups = "User-Agent: *\nDisallow: *.gif$\nDisallow: /example/\nAllow: /publications/\n\n"
                           "User-Agent: foobot\nDisallow:/\nAllow:/example/page.html\nAllow:/example/allowed.gif\n\n"
                           "User-Agent: barbot\nUser-Agent: bazbot\nDisallow: /example/page.html\n\n"
                           "User-Agent: quxbot\n\nEOF\n";

QByteArray anyAgent(const QByteArray &lines)
{
    return "User-agent: *\n" + lines;
}

} // namespace

class TestRobotsRules : public QObject
{
    Q_OBJECT

private slots:
    void isAllowed_data();
    void isAllowed();
    void crawlDelay_data();
    void crawlDelay();
    void fetchOutcome_data();
    void fetchOutcome();
};

void TestRobotsRules::isAllowed_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("agent");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("named group allows") << kGroups << u"foobot"_s << "/example/page.html"_ba << true;
    QTest::newRow("named group disallows") << kGroups << u"foobot"_s << "/example/other.html"_ba << false;
    QTest::newRow("named group only") << kGroups << u"foobot"_s << "/publications/"_ba << false;
    QTest::newRow("agent without case") << kGroups << u"FOOBOT"_s << "/example/allowed.gif"_ba << true;
    QTest::newRow("second agent line") << kGroups << u"bazbot"_s << "/example/page.html"_ba << false;
    QTest::newRow("other rules not inherited") << kGroups << u"barbot"_s << "/example/x.gif"_ba << true;
    QTest::newRow("empty group") << kGroups << u"quxbot"_s << "/example/"_ba << true;
    QTest::newRow("star group") << kGroups << u"otherbot"_s << "/example/"_ba << false;
    QTest::newRow("star suffix") << kGroups << u"otherbot"_s << "/a/b.gif"_ba << false;
    QTest::newRow("dollar ends") << kGroups << u"otherbot"_s << "/a/b.gif?size=2"_ba << true;
    QTest::newRow("longer allow wins") << kGroups << u"otherbot"_s << "/publications/x.gif"_ba << true;

    const QByteArray longest = "User-agent: FooBot/2.1\nAllow: /example/page/\nDisallow: /example/page/disallowed.gif\n";
    QTest::newRow("longest match allows") << longest << u"foobot"_s << "/example/page/"_ba << true;
    QTest::newRow("longest match disallows") << longest << u"foobot"_s << "/example/page/disallowed.gif"_ba << false;

    const QByteArray twice = "user-agent: ExampleBot\ndisallow: /foo\n\nuser-agent: *\ndisallow: /bar\n\n"
                             "user-agent: ExampleBot\ndisallow: /baz\n";
    QTest::newRow("groups combined, first") << twice << u"examplebot"_s << "/foo"_ba << false;
    QTest::newRow("groups combined, second") << twice << u"examplebot"_s << "/baz/1"_ba << false;
    QTest::newRow("groups combined, not star") << twice << u"examplebot"_s << "/bar"_ba << true;
    QTest::newRow("delay line ends agents") << "User-agent: a\nCrawl-delay: 1\nUser-agent: b\nDisallow: /\n"_ba
                                            << u"a"_s << "/x"_ba << true;
    QTest::newRow("rules before any agent") << "Disallow: /\n"_ba << u"foobot"_s << "/x"_ba << true;

    QTest::newRow("exact path") << anyAgent("Disallow: /\nAllow: /this/path/exactly$\n") << u"a"_s
                                << "/this/path/exactly"_ba << true;
    QTest::newRow("exact path, longer") << anyAgent("Disallow: /\nAllow: /this/path/exactly$\n") << u"a"_s
                                        << "/this/path/exactly/x"_ba << false;
    QTest::newRow("star in middle") << anyAgent("Disallow: /\nAllow: /this/*/exactly\n") << u"a"_s
                                    << "/this/a/b/exactly.html"_ba << true;
    QTest::newRow("dollar in middle is literal") << anyAgent("Disallow: /a$b\n") << u"a"_s << "/a$b"_ba << false;
    QTest::newRow("tie goes to allow") << anyAgent("Disallow: /page\nAllow: /page\n") << u"a"_s << "/page"_ba << true;
    QTest::newRow("tie with star") << anyAgent("Disallow: /pa\nAllow: /p*\n") << u"a"_s << "/page"_ba << true;
    QTest::newRow("empty disallow") << anyAgent("Disallow:\n") << u"a"_s << "/x"_ba << true;
    QTest::newRow("robots.txt always") << anyAgent("Disallow: /\n") << u"a"_s << "/robots.txt"_ba << true;
    QTest::newRow("empty path is root") << anyAgent("Disallow: /$\n") << u"a"_s << ""_ba << false;
    QTest::newRow("comment") << anyAgent("Disallow: /a # not /b\n") << u"a"_s << "/b"_ba << true;

    QTest::newRow("raw UTF-8 rule") << anyAgent("Disallow: /foo/bar/\xE3\x83\x84\n") << u"a"_s
                                    << "/foo/bar/%e3%83%84"_ba << false;
    QTest::newRow("raw UTF-8 path") << anyAgent("Disallow: /foo/bar/%E3%83%84\n") << u"a"_s
                                    << "/foo/bar/\xE3\x83\x84"_ba << false;
    QTest::newRow("encoded unreserved") << anyAgent("Disallow: /foo/bar/%62%61%7A\n") << u"a"_s << "/foo/bar/baz"_ba << false;
    QTest::newRow("encoded star") << anyAgent("Disallow: /file-with-a-%2A.html\n") << u"a"_s
                                  << "/file-with-a-*.html"_ba << false;
    QTest::newRow("encoded dollar") << anyAgent("Disallow: /foo-%24\n") << u"a"_s << "/foo-$"_ba << false;
    QTest::newRow("encoded slash differs") << anyAgent("Disallow: /a%2fb\n") << u"a"_s << "/a/b"_ba << true;
    QTest::newRow("stray percent") << anyAgent("Disallow: /100%\n") << u"a"_s << "/100%25"_ba << false;

    QTest::newRow("byte order mark") << "\xEF\xBB\xBFUser-agent: *\nDisallow: /x\n"_ba << u"a"_s << "/x"_ba << false;
    const QByteArray crOnly = "User-agent: *\rDisallow: /x\rAllow: /x/y"_ba;
    QTest::newRow("CR only") << crOnly << u"a"_s << "/x"_ba << false;
    QTest::newRow("last line without break") << crOnly << u"a"_s << "/x/y"_ba << true;
    QTest::newRow("one line") << "User-agent: * Disallow: /x"_ba << u"a"_s << "/x"_ba << true;
    const QByteArray manyStars = "/" + QByteArray("*a").repeated(5000) + "b";
    QTest::newRow("many stars") << anyAgent("Disallow: " + manyStars + "\n") << u"a"_s
                                << "/" + QByteArray(100000, 'a') << true;

    const QByteArray head = anyAgent("Disallow: /before\n");
    // The bound falls right after "Disallow: /cut" of the line for /cut-longer.
    const QByteArray filler = QByteArray(Crawl::RobotsRules::kMaxBodyBytes - head.size() - 15, '#') + "\n";
    const QByteArray huge = head + filler + "Disallow: /cut-longer\nDisallow: /after\n";
    QTest::newRow("huge, before bound") << huge << u"a"_s << "/before"_ba << false;
    QTest::newRow("huge, line cut") << huge << u"a"_s << "/cut"_ba << true;
    QTest::newRow("huge, after bound") << huge << u"a"_s << "/after"_ba << true;
}

void TestRobotsRules::isAllowed()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, agent);
    QFETCH(QByteArray, path);
    QFETCH(bool, allowed);
    QCOMPARE(Crawl::RobotsRules::parse(body, agent).isAllowed(path), allowed);
}

void TestRobotsRules::crawlDelay_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<qint64>("millis"); // -1: none

    QTest::newRow("whole") << anyAgent("Crawl-delay: 10\n") << qint64(10000);
    QTest::newRow("fraction") << anyAgent("crawl-delay: 2.5\n") << qint64(2500);
    QTest::newRow("first readable") << anyAgent("Crawl-delay: soon\nCrawl-delay: .25\nCrawl-delay: 7\n") << qint64(250);
    QTest::newRow("exponent") << anyAgent("Crawl-delay: 1e3\n") << qint64(-1);
    QTest::newRow("negative") << anyAgent("Crawl-delay: -1\n") << qint64(-1);
    QTest::newRow("huge saturates") << anyAgent("Crawl-delay: 99999999999999999999999\n") << (qint64(1) << 31) * 1000;
    QTest::newRow("named group's") << "User-agent: *\nCrawl-delay: 9\nUser-agent: vorlen\nCrawl-delay: 1\n"_ba << qint64(1000);
    QTest::newRow("other group's") << "User-agent: other\nCrawl-delay: 9\n"_ba << qint64(-1);
}

void TestRobotsRules::crawlDelay()
{
    QFETCH(QByteArray, body);
    QFETCH(qint64, millis);
    const auto delay = Crawl::RobotsRules::parse(body, u"vorlen").crawlDelay();
    QCOMPARE(delay ? delay->count() : -1, millis);
}

void TestRobotsRules::fetchOutcome_data()
{
    QTest::addColumn<int>("status"); // -1: no answer
    QTest::addColumn<bool>("allowed");

    QTest::newRow("200 body") << 200 << false;
    QTest::newRow("404 none") << 404 << true;
    QTest::newRow("401 none") << 401 << true;
    QTest::newRow("redirect left") << 301 << true;
    QTest::newRow("429") << 429 << false;
    QTest::newRow("503") << 503 << false;
    QTest::newRow("no answer") << -1 << false;
}

void TestRobotsRules::fetchOutcome()
{
    QFETCH(int, status);
    QFETCH(bool, allowed);
    const auto rules = Crawl::robotsRulesFor(status < 0 ? std::nullopt : std::optional(status),
                                             anyAgent("Disallow: /x\n"), u"vorlen");
    QCOMPARE(rules.isAllowed("/x/1"), allowed);
    QVERIFY(rules.isAllowed("/robots.txt"));
}

QTEST_GUILESS_MAIN(TestRobotsRules)
#include "tst_robotsrules.moc"
