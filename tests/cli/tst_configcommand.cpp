#include "support/clirun.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestConfigCommand : public QObject
{
    Q_OBJECT

private slots:
    void setGetShowUnset();
    void refusedChangeLeavesTheFile_data();
    void refusedChangeLeavesTheFile();

private:
    QTemporaryDir m_dir;
};

void TestConfigCommand::setGetShowUnset()
{
    QProcessEnvironment environment;
    const QString file = m_dir.filePath(u"sub/settings.ini"_s);
    environment.insert(u"VORLEN_CONFIG"_s, file);
    auto run = [&](const QStringList &arguments) { return runCli(QStringList{u"config"_s} + arguments, environment); };

    QCOMPARE(run({u"path"_s}).out, file + u'\n');
    QCOMPARE(run({u"set"_s, u"forum"_s, u"https://bbs.test/x"_s}).code, 0);
    QCOMPARE(run({u"set"_s, u"timeout"_s, u"45"_s}).code, 0);
    QCOMPARE(run({u"get"_s, u"forum"_s}).out, u"https://bbs.test/x/\n"_s);
    QCOMPARE(QFile::permissions(file) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

    const CliOutcome shown = runCli({u"--forum=http://opt.test/"_s, u"config"_s, u"show"_s}, environment);
    QCOMPARE(shown.code, 0);
    QVERIFY(shown.out.contains(u"\nforum\thttp://opt.test/\toption --forum\n"_s));
    QVERIFY(shown.out.contains(u"\ntimeout\t45\tfile "_s + file + u":"_s));
    QVERIFY(shown.out.contains(u"\nprobe\thttp://127.0.0.1:8360/probe/\tdefault\n"_s));

    QCOMPARE(run({u"unset"_s, u"timeout"_s}).code, 0);
    QCOMPARE(run({u"get"_s, u"timeout"_s}).out, u"30\n"_s);
    QCOMPARE(shown.err, QString());
}

// A refused value, an unknown key or a file with a line that is not a setting: nothing is written.
void TestConfigCommand::refusedChangeLeavesTheFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("errorLine"); // one line of stderr

    const QByteArray good = "timeout=20\n";
    QTest::newRow("timeout 0") << QStringList{u"set"_s, u"timeout"_s, u"0"_s} << good << 2
                               << u"config: timeout: not a whole number of seconds from 1 to 86400: 0"_s;
    QTest::newRow("not a URL") << QStringList{u"set"_s, u"share-site"_s, u"file:///etc"_s} << good << 2
                               << u"config: share-site: not an http or https URL: file:///etc"_s;
    QTest::newRow("proxy with a path") << QStringList{u"set"_s, u"proxy"_s, u"http://p.test:3128/x"_s} << good << 2
                                       << u"config: proxy: env, system, none or a proxy URL (http://, socks5:// or "
                                          "socks5h://[USER:PASS@]HOST[:PORT]): http://p.test:3128/x"_s;
    QTest::newRow("unknown key") << QStringList{u"set"_s, u"colour"_s, u"red"_s} << good << 2 << u"config: unknown key colour"_s;
    QTest::newRow("value missing") << QStringList{u"set"_s, u"timeout"_s} << good << 2 << u"usage:"_s;
    QTest::newRow("malformed line kept") << QStringList{u"set"_s, u"timeout"_s, u"25"_s} << good + "my note\n"
                                         << 1 << u"config: FILE:2: not a KEY=VALUE line: my note; the file is left as it is"_s;
}

void TestConfigCommand::refusedChangeLeavesTheFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, content);
    const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(TestFiles::writeAll(file, content));
    QProcessEnvironment environment;
    environment.insert(u"VORLEN_CONFIG"_s, file);

    const CliOutcome outcome = runCli(QStringList{u"config"_s} + arguments, environment);
    QTEST(outcome.code, "code");
    QFETCH(QString, errorLine);
    QVERIFY2(QString(outcome.err).replace(file, u"FILE"_s).split(u'\n').contains(errorLine), qPrintable(outcome.err));
    QCOMPARE(TestFiles::readAll(file), content);
}

QTEST_GUILESS_MAIN(TestConfigCommand)
#include "tst_configcommand.moc"
