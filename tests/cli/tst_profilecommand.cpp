// The site profile on the command line: refused profile files, "profile show" and "profile
// verify" against both layouts of the demo site, and the layout-change hint of harvest, search
// and crawl.
#include "config/siteprofile.h"
#include "demo-site/server.h"
#include "net/networkaccess.h"
#include "support/clirun.h"
#include "support/closedport.h"
#include "support/files.h"

#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kAlt = u"alt"_s; // the alternative layout, or its profile

// A profile file with every required key and nothing more.
const QByteArray kValid = R"({"version":1,"entries":{"entryMarker":"<a","titleMarker":"<b","fileCountMarker":"<c",)"
                          R"("extractionCodeMarker":"<d"},"listing":{"url":"l{page}"},"detail":{"url":"d{id}"},)"
                          R"("search":{"url":"s{keyword}"}})";
const char *const kVersion = R"("version":1,)";

// kValid with key (a JSON member) after the version.
QByteArray withKey(const char *key)
{
    const QByteArray after = QByteArray(kVersion) + key + ',';
    return QByteArray(kValid).replace(kVersion, after);
}

} // namespace

class TestProfileCommand : public QObject
{
    Q_OBJECT

    DemoSite::Server m_standard{DemoSite::Options{}};
    DemoSite::Server m_alt{DemoSite::Options{.layout = DemoSite::Layout::Alt}};
    QTemporaryDir m_dir;

    // Runs the tool against the site of layout, with the alternative profile when profile says so.
    CliOutcome run(const QString &layout, const QString &profile, const QStringList &arguments)
    {
        const DemoSite::Server &site = layout == kAlt ? m_alt : m_standard;
        QStringList words{u"--demo-site"_s, QString::fromStdString(site.baseUrl()), u"--timeout=10"_s};
        if (profile == kAlt)
            words << u"--site-profile"_s << QString::fromStdString(DemoSite::altProfileFile());
        const CliOutcome outcome = runCli(words + arguments);
        Net::networkManager().clearConnectionCache();
        return outcome;
    }

    // What verify read, without the addresses it read it from.
    static QStringList readingOf(const QString &out)
    {
        static const QRegularExpression kAddressLine(u"^\\S.*: http"_s);
        QStringList lines = out.split(u'\n');
        lines.removeIf([](const QString &line) { return kAddressLine.match(line).hasMatch(); });
        return lines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_standard.start());
        QVERIFY(m_alt.start());
        QVERIFY(m_dir.isValid());
    }

    void badProfile_data()
    {
        QTest::addColumn<QByteArray>("content"); // "missing": no such file; "folder": a folder
        QTest::addColumn<QString>("named");      // the key (or what) the line names
        const auto with = [&](const char *from, const char *to) { return QByteArray(kValid).replace(from, to); };
        const char *version = kVersion;
        QTest::newRow("unreadable") << QByteArray("missing") << u"cannot read"_s;
        QTest::newRow("a folder") << QByteArray("folder") << u"cannot read"_s;
        QTest::newRow("over 1 MiB") << QByteArray(1024 * 1024 + 1, ' ') << u"larger than 1024 KiB"_s;
        QTest::newRow("not JSON") << with(version, R"("version":1,,)") << u"not JSON"_s;
        QTest::newRow("no version") << with(version, "") << u"version: missing"_s;
        QTest::newRow("newer version") << with(version, R"("version":2,)") << u"version: 2 is newer"_s;
        QTest::newRow("marker missing") << with(R"("titleMarker":"<b",)", "") << u"entries.titleMarker: missing"_s;
        QTest::newRow("marker empty") << with(R"("<b")", R"("")") << u"entries.titleMarker: empty"_s;
        QTest::newRow("template without placeholder") << with("d{id}", "d{page}") << u"detail.url: lacks {id}"_s;
        QTest::newRow("unknown key") << withKey(R"("charsetFalback":"GBK")") << u"charsetFalback: unknown key"_s;
        QTest::newRow("wrong type") << withKey(R"("shareCheck":{"deadWordings":"x"})") << u"shareCheck.deadWordings: not a list"_s;
        QTest::newRow("empty link wording") << withKey(R"("links":{"lockedWordings":[""]})") << u"links.lockedWordings:"_s;
        QTest::newRow("link status of a page") << withKey(R"("links":{"limitedStatuses":[429,200]})") << u"links.limitedStatuses:"_s;
        QTest::newRow("unknown link key") << withKey(R"("links":{"liveWordings":["x"]})") << u"links.liveWordings: unknown key"_s;
        QTest::newRow("group not an object") << withKey(R"("requests":[])") << u"requests: not an object"_s;
        QTest::newRow("keyword encoding") << with(R"("s{keyword}")", R"("s{keyword}","keywordEncoding":"big5")")
                                          << u"search.keywordEncoding: gbk or utf-8"_s;
        QTest::newRow("unknown charset") << withKey(R"("charsetFallback":"x-none")") << u"charsetFallback:"_s;
        QTest::newRow("line break in the user agent") << withKey(R"("requests":{"userAgent":"a\r\nX: y"})") << u"requests.userAgent:"_s;
        QTest::newRow("delay beyond an hour") << withKey(R"("requests":{"minimumDelayMs":3600001})") << u"requests.minimumDelayMs:"_s;
        QTest::newRow("fractional id length") << with(R"("<a")", R"("<a","entryIdLength":1.5)") << u"entries.entryIdLength:"_s;
    }
    void badProfile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, named);
        const QString file = content == "folder" ? m_dir.path() : m_dir.filePath(u"bad.json"_s);
        QFile::remove(file);
        if (content != "missing" && content != "folder")
            QVERIFY(TestFiles::writeAll(file, content));

        for (const bool fromVariable : {false, true}) {
            QProcessEnvironment environment;
            QStringList arguments{u"profile"_s, u"show"_s};
            if (fromVariable)
                environment.insert(u"VORLEN_SITE_PROFILE"_s, file);
            else
                arguments = QStringList{u"--site-profile"_s, file} + arguments;
            const CliOutcome outcome = runCli(arguments, environment);
            QCOMPARE(outcome.code, 2);
            QCOMPARE(outcome.out, QString());
            QCOMPARE(outcome.err.count(u'\n'), 1);
            QVERIFY2(outcome.err.contains(file + u": "_s) && outcome.err.contains(named), qPrintable(outcome.err));
        }
    }

    // What "profile show" prints is a profile file that reads back as the built-in profile.
    void showReadsBack()
    {
        const CliOutcome shown = runCli({u"profile"_s, u"show"_s});
        QCOMPARE(shown.code, 0);
        const QString file = m_dir.filePath(u"shown.json"_s);
        QVERIFY(TestFiles::writeAll(file, shown.out.toUtf8()));
        const CliOutcome again = runCli({u"--site-profile"_s, file, u"profile"_s, u"show"_s});
        QCOMPARE(again.code, 0);
        QCOMPARE(again.out, shown.out);
    }

    void linkRulesReadBack_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Config::ShareRules>("rules");
        Config::ShareRules sorted;
        for (const Config::ShareRuleKey &key : Config::shareRuleKeys()) {
            if (key.rule != &Config::ShareRules::locked && key.rule != &Config::ShareRules::limited)
                (sorted.*key.rule).wordings.clear();
        }
        Config::ShareRules old = sorted;
        old.cancelled.wordings = {u"分享已取消"_s};
        old.expired.wordings = {u"已过期"_s};
        old.deleted.wordings = {u"下架了"_s};
        QTest::newRow("the old dead wordings, by reason")
            << withKey(R"("shareCheck":{"deadWordings":["已过期","分享已取消","下架了"]})") << old;
        Config::ShareRules both = sorted;
        both.expired.wordings = {u"过期了"_s};
        both.notFound.statuses = {404};
        QTest::newRow("a links key decides over them")
            << withKey(R"("shareCheck":{"deadWordings":["已过期"]},"links":{"expiredWordings":["过期了"],"notFoundStatuses":[404]})")
            << both;
        Config::ShareRules own;
        own.locked = {{u"输入密码"_s}, {401}};
        own.limited.statuses = {429, 503};
        own.violation.wordings = {};
        QTest::newRow("rules of their own")
            << withKey(R"("links":{"lockedWordings":["输入密码"],"lockedStatuses":[401],"limitedStatuses":[429,503],)"
                       R"("violationWordings":[]})")
            << own;
    }
    // Link rules as read, and written back to the same.
    void linkRulesReadBack()
    {
        QFETCH(QByteArray, content);
        QFETCH(Config::ShareRules, rules);
        const Config::LoadedSiteProfile read = Config::readSiteProfile(content);
        QCOMPARE(read.error, QString());
        QVERIFY(read.profile.shareRules == rules);
        const Config::LoadedSiteProfile again = Config::readSiteProfile(Config::writeSiteProfile(read.profile));
        QCOMPARE(again.error, QString());
        QVERIFY(again.profile == read.profile);
    }

    void verify_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        const QString builtIn = u"built-in"_s, standard = u"standard"_s;
        const QStringList search{u"--keyword=合集"_s};
        QTest::newRow("built-in profile, standard layout") << standard << builtIn << QStringList() << 0;
        QTest::newRow("built-in profile, standard layout, search") << standard << builtIn << search << 0;
        QTest::newRow("built-in profile, alt layout") << kAlt << builtIn << QStringList() << 5;
        QTest::newRow("alt profile, alt layout") << kAlt << kAlt << QStringList() << 0;
        QTest::newRow("alt profile, alt layout, search") << kAlt << kAlt << search << 0;
        QTest::newRow("alt profile, standard layout") << standard << kAlt << QStringList() << 5;
        QTest::newRow("page past the end") << standard << builtIn << QStringList{u"--page=151"_s} << 5;
    }
    void verify()
    {
        QFETCH(QString, layout);
        QFETCH(QString, profile);
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        const CliOutcome outcome = run(layout, profile, QStringList{u"profile"_s, u"verify"_s} + arguments);
        QCOMPARE(outcome.code, code);
        // A page that answers without anything the profile knows raises the alarm; one that says
        // it is empty does not.
        const bool alarm = code == 5 && !arguments.contains(u"--page=151"_s);
        QCOMPARE(outcome.err.count(u"profile verify"_s), alarm ? 1 : 0);
        if (code == 0) {
            // Whatever the layout, the profile that fits it reads the same entries and share codes.
            const CliOutcome reference = run(u"standard"_s, u"built-in"_s, QStringList{u"profile"_s, u"verify"_s} + arguments);
            QCOMPARE(readingOf(outcome.out), readingOf(reference.out));
            QVERIFY(outcome.out.contains(u"rows with a share code: 3 of 3"_s));
        }
    }

    void unreachable()
    {
        const CliOutcome outcome = runCli({u"--demo-site"_s, u"http://127.0.0.1:"_s + QString::number(closedPort()) + u'/',
                                           u"profile"_s, u"verify"_s});
        QCOMPARE(outcome.code, 3);
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no action") << QStringList{u"profile"_s};
        QTest::newRow("unknown action") << QStringList{u"profile"_s, u"edit"_s};
        QTest::newRow("show with an option") << QStringList{u"profile"_s, u"show"_s, u"--page=1"_s};
        QTest::newRow("bad page") << QStringList{u"profile"_s, u"verify"_s, u"--page=-1"_s};
        QTest::newRow("short keyword") << QStringList{u"profile"_s, u"verify"_s, u"--keyword=书"_s};
        QTest::newRow("stray argument") << QStringList{u"profile"_s, u"verify"_s, u"0"_s};
    }
    void badUsage()
    {
        QFETCH(QStringList, arguments);
        const CliOutcome outcome = runCli(arguments);
        QCOMPARE(outcome.code, 2);
        QVERIFY(outcome.err.contains(u"usage:"_s));
    }

    // One line on stderr for a page without anything the profile knows, none for a page that
    // says it is empty.
    void layoutAlarm_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("alarm");
        QTest::newRow("harvest") << kAlt << QStringList{u"harvest"_s} << 1 << true;
        QTest::newRow("search") << kAlt << QStringList{u"search"_s, u"合集"_s} << 1 << true;
        QTest::newRow("crawl") << kAlt << QStringList{u"crawl"_s, u"--pages=0-1"_s} << 0 << true;
        QTest::newRow("harvest past the end") << u"standard"_s << QStringList{u"harvest"_s, u"--page=151"_s} << 1 << false;
        QTest::newRow("search without results") << u"standard"_s << QStringList{u"search"_s, u"没有这种资源"_s} << 1 << false;
        QTest::newRow("crawl past the end") << u"standard"_s << QStringList{u"crawl"_s, u"--pages=151-152"_s} << 0 << false;
    }
    void layoutAlarm()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(bool, alarm);
        const CliOutcome outcome = run(layout, u"built-in"_s, arguments);
        QCOMPARE(outcome.code, code);
        QCOMPARE(outcome.err.count(u"profile verify"_s), alarm ? 1 : 0);
    }

    void cleanupTestCase()
    {
        Net::networkManager().clearConnectionCache();
    }
};

QTEST_GUILESS_MAIN(TestProfileCommand)
#include "tst_profilecommand.moc"
