#include "config/endpoints.h"
#include "config/settingkeys.h"
#include "support/files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The effective value of key and where it came from, after arguments and variables (NAME=VALUE)
// over a settings file holding content.
std::pair<QString, QString> effective(const QString &key, QStringList arguments, const QStringList &variables,
                                      const QByteArray &content, QStringList *warnings = nullptr)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"vorlen360.ini"_s);
    if (!content.isEmpty())
        TestFiles::writeAll(file, content);
    QProcessEnvironment environment;
    for (const QString &variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    const auto parsed = Config::parseEndpointOptions(arguments << u"--config"_s << file, environment);
    if (warnings)
        *warnings = parsed.warnings;
    const Config::Setting *setting = Config::findSetting(key);
    QString origin = parsed.provenance.origins.at(setting - Config::settings().data()).describe();
    return {Config::settingText(*setting, parsed.endpoints), origin.replace(file, u"FILE"_s)};
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void precedence_data();
    void precedence();
    void badSettingsFile_data();
    void badSettingsFile();
};

void TestSettings::precedence_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("origin");

    const QByteArray file = "share-site=http://file.test\ntimeout=12\n\n[General]\nuser-agent=\"Agent/2 (X11; a, b)\"\n";
    const QStringList env{u"VORLEN_SHARE_SITE=http://env.test/"_s, u"VORLEN_TIMEOUT=11"_s, u"VORLEN_USER_AGENT=Env/1"_s};
    QTest::newRow("site: option") << u"share-site"_s << QStringList{u"--share-site=http://opt.test"_s} << env << file
                                  << u"http://opt.test/"_s << u"option --share-site"_s;
    QTest::newRow("site: environment") << u"share-site"_s << QStringList{} << env << file << u"http://env.test/"_s
                                       << u"environment VORLEN_SHARE_SITE"_s;
    QTest::newRow("site: file") << u"share-site"_s << QStringList{} << QStringList{} << file << u"http://file.test/"_s
                                << u"file FILE:1"_s;
    QTest::newRow("site: default") << u"share-site"_s << QStringList{} << QStringList{} << QByteArray()
                                   << u"http://127.0.0.1:8360/"_s << u"default"_s;
    QTest::newRow("site: demo site over the file") << u"share-site"_s << QStringList{u"--demo-site"_s, u"http://demo.test"_s}
                                                   << QStringList{} << file << u"http://demo.test/"_s << u"option --demo-site"_s;
    QTest::newRow("timeout: option") << u"timeout"_s << QStringList{u"--timeout"_s, u"13"_s} << env << file << u"13"_s
                                     << u"option --timeout"_s;
    QTest::newRow("timeout: environment") << u"timeout"_s << QStringList{} << env << file << u"11"_s
                                          << u"environment VORLEN_TIMEOUT"_s;
    QTest::newRow("timeout: file") << u"timeout"_s << QStringList{} << QStringList{} << file << u"12"_s << u"file FILE:2"_s;
    QTest::newRow("timeout: default") << u"timeout"_s << QStringList{} << QStringList{} << QByteArray() << u"30"_s
                                      << u"default"_s;
    QTest::newRow("agent: option") << u"user-agent"_s << QStringList{u"--user-agent=Opt/3"_s} << env << file << u"Opt/3"_s
                                   << u"option --user-agent"_s;
    QTest::newRow("agent: environment") << u"user-agent"_s << QStringList{} << env << file << u"Env/1"_s
                                        << u"environment VORLEN_USER_AGENT"_s;
    QTest::newRow("agent: file, quoted") << u"user-agent"_s << QStringList{} << QStringList{} << file << u"Agent/2 (X11; a, b)"_s
                                         << u"file FILE:5"_s;
    QTest::newRow("agent: default") << u"user-agent"_s << QStringList{} << QStringList{} << QByteArray()
                                    << QString::fromLatin1(Config::kDefaultUserAgent)
                                    << u"default"_s;
}

void TestSettings::precedence()
{
    QFETCH(QString, key);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, variables);
    QFETCH(QByteArray, file);
    QStringList warnings;
    const auto [value, origin] = effective(key, arguments, variables, file, &warnings);
    QCOMPARE(warnings, QStringList());
    QTEST(value, "value");
    QTEST(origin, "origin");
}

// Whatever is wrong with the file, one warning names the file, the line and the key, that key
// keeps its default, and the rest of the file still counts unless the file could not be read.
void TestSettings::badSettingsFile_data()
{
    QTest::addColumn<QByteArray>("content"); // "DIRECTORY": a folder in the file's place
    QTest::addColumn<QString>("warning");    // after "FILE"
    QTest::addColumn<QString>("key");        // falls back to its default
    QTest::addColumn<bool>("restRead");      // forum on line 1 still comes from the file

    const QByteArray forum = "forum=http://forum.test/\n";
    QTest::newRow("malformed line") << forum + "share-site http://x.test/\n"
                                    << u":2: not a KEY=VALUE line: share-site http://x.test/; ignored"_s << u"share-site"_s
                                    << true;
    QTest::newRow("unclosed section") << forum + "[General\n"
                                      << u":2: not a [section] line: [General; ignored"_s << u"proxy"_s << true;
    QTest::newRow("unknown key") << forum + "colour = red\n" << u":2: unknown key colour; ignored"_s << u"proxy"_s << true;
    QTest::newRow("key of another section") << forum + "[net]\nproxy=http://p.test:3128\n"
                                            << u":3: unknown key net/proxy; ignored"_s << u"proxy"_s << true;
    QTest::newRow("bad timeout") << forum + "timeout=0\n"
                                 << u":2: timeout: not a whole number of seconds from 1 to 86400: 0; the default is used"_s
                                 << u"timeout"_s << true;
    QTest::newRow("bad address") << forum + "share-site=ftp://x.test/\n"
                                 << u":2: share-site: not an http or https URL: ftp://x.test/; the default is used"_s
                                 << u"share-site"_s << true;
    QTest::newRow("control character") << forum + "user-agent=\"a\\tb\"\n"
                                       << u":2: user-agent: not printable ASCII text of at most 2048 characters: a b; "
                                          "the default is used"_s
                                       << u"user-agent"_s << true;
    QTest::newRow("over 1 MiB") << forum + QByteArray(1024 * 1024, ';') << u": larger than 1 MiB; the defaults are used"_s
                                << u"forum"_s << false;
    QTest::newRow("not a file") << QByteArray("DIRECTORY") << u": not a regular file; the defaults are used"_s << u"forum"_s
                                << false;
}

void TestSettings::badSettingsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, warning);
    QFETCH(QString, key);
    QFETCH(bool, restRead);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"vorlen360.ini"_s);
    QVERIFY(content == "DIRECTORY" ? QDir(dir.path()).mkdir(u"vorlen360.ini"_s) : TestFiles::writeAll(file, content));

    const auto parsed = Config::parseEndpointOptions({u"--config"_s, file}, {});
    QCOMPARE(parsed.error, QString());
    QCOMPARE(parsed.warnings, QStringList{file + warning});
    const Config::Setting &setting = *Config::findSetting(key);
    QCOMPARE(Config::settingText(setting, parsed.endpoints), Config::settingText(setting, Config::Endpoints::defaults()));
    QCOMPARE(parsed.endpoints.forum == u"http://forum.test/", restRead);
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"
