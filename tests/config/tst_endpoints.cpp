#include "config/endpoints.h"

#include <QTest>

using Config::parseEndpointOptions;
using namespace Qt::StringLiterals;

namespace {
QProcessEnvironment environment(std::initializer_list<std::pair<const char *, const char *>> variables)
{
    QProcessEnvironment env;
    for (const auto &[name, value] : variables)
        env.insert(QLatin1String(name), QString::fromUtf8(value));
    return env;
}
} // namespace

class TestEndpoints : public QObject
{
    Q_OBJECT

private slots:
    void defaultsPointAtTheDemoSite()
    {
        const auto parsed = parseEndpointOptions({}, {});
        QVERIFY(parsed.error.isEmpty());
        QCOMPARE(parsed.endpoints.shareSite, QStringLiteral("http://127.0.0.1:8360/"));
        QCOMPARE(parsed.endpoints.sharePrefix, QStringLiteral("http://127.0.0.1:8360/yunpan/"));
        QCOMPARE(parsed.endpoints.timeout, std::chrono::seconds(30));
    }

    void optionBeatsVariableBeatsDefault()
    {
        const auto env = environment({{"VORLEN_SHARE_SITE", "http://env.example/"}, {"VORLEN_FORUM", "http://forum.env/"}});
        const auto parsed = parseEndpointOptions({QStringLiteral("--share-site"), QStringLiteral("http://option.example/")}, env);
        QVERIFY(parsed.error.isEmpty());
        QCOMPARE(parsed.endpoints.shareSite, QStringLiteral("http://option.example/"));
        QCOMPARE(parsed.endpoints.forum, QStringLiteral("http://forum.env/"));
        QCOMPARE(parsed.endpoints.updateServer, Config::Endpoints::defaults().updateServer);
    }

    // The demo site's layout stands under every single option and variable, whichever comes first.
    void demoSiteLayoutUnderSingleValues()
    {
        const auto env = environment({{"VORLEN_DEMO_SITE", "http://env.demo:1/"}, {"VORLEN_FORUM", "http://forum.env/"}});
        const auto parsed = parseEndpointOptions({u"--probe=http://p.test/"_s, u"--demo-site"_s, u"http://opt.demo:2"_s}, env);
        QVERIFY(parsed.error.isEmpty());
        Config::Endpoints expected = Config::Endpoints::onDemoSite(u"http://opt.demo:2/"_s);
        expected.forum = u"http://forum.env/"_s;
        expected.probe = u"http://p.test/"_s;
        QCOMPARE(parsed.endpoints.shareSite, expected.shareSite);
        QCOMPARE(parsed.endpoints.sharePrefix, expected.sharePrefix);
        QCOMPARE(parsed.endpoints.forum, expected.forum);
        QCOMPARE(parsed.endpoints.probe, expected.probe);
        QVERIFY(parsed.remaining.isEmpty());
        QVERIFY(!parseEndpointOptions({u"--demo-site=ftp://x/"_s}, {}).error.isEmpty());
    }

    void everyOptionAndItsVariable_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored");
        QTest::newRow("share-site") << u"--share-site"_s << u"VORLEN_SHARE_SITE"_s << u"http://s.test"_s << u"http://s.test/"_s;
        QTest::newRow("share-prefix") << u"--share-prefix"_s << u"VORLEN_SHARE_PREFIX"_s << u"https://p.test/x"_s << u"https://p.test/x/"_s;
        QTest::newRow("forum") << u"--forum"_s << u"VORLEN_FORUM"_s << u"http://f.test/bbs"_s << u"http://f.test/bbs/"_s;
        QTest::newRow("update-server") << u"--update-server"_s << u"VORLEN_UPDATE_SERVER"_s << u"http://u.test/"_s << u"http://u.test/"_s;
        QTest::newRow("probe keeps its path") << u"--probe"_s << u"VORLEN_PROBE"_s << u"http://q.test/index.html"_s
                                              << u"http://q.test/index.html"_s;
        QTest::newRow("login-ini is a path") << u"--login-ini"_s << u"VORLEN_LOGIN_INI"_s << u"cfg/login.ini"_s << u"cfg/login.ini"_s;
        QTest::newRow("user-agent, trimmed") << u"--user-agent"_s << u"VORLEN_USER_AGENT"_s << u" Bot/1 (x) "_s << u"Bot/1 (x)"_s;
    }
    void everyOptionAndItsVariable()
    {
        QFETCH(QString, option);
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(QString, stored);
        auto field = [&](const Config::Endpoints &e) {
            const QString name = option.mid(2);
            if (name == u"share-site") return e.shareSite;
            if (name == u"share-prefix") return e.sharePrefix;
            if (name == u"forum") return e.forum;
            if (name == u"update-server") return e.updateServer;
            if (name == u"probe") return e.probe;
            if (name == u"login-ini") return e.loginIni;
            if (name == u"user-agent") return e.userAgent;
            return QString();
        };
        QProcessEnvironment env;
        env.insert(variable, value);
        QCOMPARE(field(parseEndpointOptions({}, env).endpoints), stored);
        QCOMPARE(field(parseEndpointOptions({option, value}, {}).endpoints), stored);
        QCOMPARE(field(parseEndpointOptions({option + u'=' + value}, {}).endpoints), stored);
    }

    void refusedValues_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("named");
        QTest::newRow("ftp") << QStringList{u"--forum"_s, u"ftp://x.test/"_s} << QString() << QString() << u"--forum"_s;
        QTest::newRow("no scheme") << QStringList{u"--share-site=example.com"_s} << QString() << QString() << u"--share-site"_s;
        QTest::newRow("missing value") << QStringList{u"--probe"_s} << QString() << QString() << u"--probe"_s;
        QTest::newRow("empty") << QStringList{u"--update-server="_s} << QString() << QString() << u"--update-server"_s;
        QTest::newRow("bad variable") << QStringList{} << u"VORLEN_SHARE_PREFIX"_s << u"yunpan"_s << u"VORLEN_SHARE_PREFIX"_s;
        // A line break would add a header of its own.
        QTest::newRow("user agent of two lines") << QStringList{u"--user-agent"_s, u"a\r\nX-Evil: 1"_s} << QString() << QString()
                                                 << u"--user-agent"_s;
        QTest::newRow("empty user agent") << QStringList{} << u"VORLEN_USER_AGENT"_s << u" "_s << u"VORLEN_USER_AGENT"_s;
        QTest::newRow("user agent beyond ASCII") << QStringList{u"--user-agent=浏览器"_s} << QString() << QString()
                                                 << u"--user-agent"_s;
    }
    void refusedValues()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(QString, named);
        QProcessEnvironment env;
        if (!variable.isEmpty())
            env.insert(variable, value);
        const auto parsed = parseEndpointOptions(arguments, env);
        QVERIFY(parsed.error.startsWith(named));
        QVERIFY(!parsed.error.contains(u'\n'));
    }

    // Whole seconds from 1 to a day; anything else, above all what would overflow the millisecond
    // count, is refused with one line naming the option or variable.
    void timeoutSeconds_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("seconds"); // 0: refused
        QTest::newRow("one") << u"1"_s << 1;
        QTest::newRow("a day") << u"86400"_s << 86400;
        QTest::newRow("zero") << u"0"_s << 0;
        QTest::newRow("a day and a second") << u"86401"_s << 0;
        QTest::newRow("wraps to 704 ms") << u"4294968"_s << 0;
        QTest::newRow("turns negative") << u"2147484"_s << 0;
        QTest::newRow("beyond int") << u"99999999999"_s << 0;
        QTest::newRow("negative") << u"-5"_s << 0;
        QTest::newRow("signed") << u"+5"_s << 0;
        QTest::newRow("fraction") << u"1.5"_s << 0;
        QTest::newRow("word") << u"soon"_s << 0;
        QTest::newRow("empty") << QString() << 0;
    }
    void timeoutSeconds()
    {
        QFETCH(QString, value);
        QFETCH(int, seconds);
        QProcessEnvironment env;
        env.insert(u"VORLEN_TIMEOUT"_s, value);
        for (const auto &[parsed, named] : {std::pair{parseEndpointOptions({u"--timeout="_s + value}, {}), u"--timeout"_s},
                                            std::pair{parseEndpointOptions({}, env), u"VORLEN_TIMEOUT"_s}}) {
            if (seconds > 0) {
                QCOMPARE(parsed.error, QString());
                QCOMPARE(parsed.endpoints.timeout, std::chrono::seconds(seconds));
            } else {
                QVERIFY2(parsed.error.startsWith(named) && !parsed.error.contains(u'\n'), qPrintable(parsed.error));
            }
        }
    }

    void otherArgumentsPassThroughInOrder()
    {
        const QStringList arguments{u"harvest"_s, u"--timeout"_s, u"5"_s, u"--page"_s, u"3"_s, u"--"_s, u"--forum"_s, u"x"_s};
        const auto parsed = parseEndpointOptions(arguments, {});
        QVERIFY(parsed.error.isEmpty());
        QCOMPARE(parsed.endpoints.timeout, std::chrono::seconds(5));
        QCOMPARE(parsed.remaining, (QStringList{u"harvest"_s, u"--page"_s, u"3"_s, u"--"_s, u"--forum"_s, u"x"_s}));
    }
};

QTEST_APPLESS_MAIN(TestEndpoints)
#include "tst_endpoints.moc"
