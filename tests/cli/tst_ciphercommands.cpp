#include "support/clirun.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCipherCommands : public QObject
{
    Q_OBJECT

private slots:
    void printsResults_data();
    void printsResults();
    void refusesBadUsage_data();
    void refusesBadUsage();
    void digestsFiles();
    void convertsBase64Files();
    void roundTripsRndXorTexts();
    void failsOnRndXorChecks();
    void roundTripsRndXorFiles();
    void reportsFilesNotWritten_data();
    void reportsFilesNotWritten();
};

void TestCipherCommands::printsResults_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::newRow("md5 abc") << QStringList{u"md5"_s, u"abc"_s} << u"900150983CD24FB0D6963F7D28E17F72\n"_s;
    QTest::newRow("md5 chinese") << QStringList{u"md5"_s, u"中文摘要"_s} << u"7590991D2179BD809A08F3BD59E7BC60\n"_s;
    QTest::newRow("md5 of an option-like text")
        << QStringList{u"md5"_s, u"--"_s, u"--file"_s} << u"19F1D649A5D0B544788DE2CA38A33671\n"_s;
    QTest::newRow("base64 encode") << QStringList{u"base64"_s, u"encode"_s, u"中文"_s} << u"1tDOxA==\n"_s;
    QTest::newRow("base64 decode") << QStringList{u"base64"_s, u"decode"_s, u"Zm9vYmFy"_s} << u"foobar\n"_s;
    QTest::newRow("base64 decode 4k+2") << QStringList{u"base64"_s, u"decode"_s, u"Zm9vYm"_s} << u"\n"_s;
}

void TestCipherCommands::printsResults()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    const CliOutcome outcome = runCli(arguments);
    QCOMPARE(outcome.code, 0);
    QCOMPARE(outcome.out, output);
    QCOMPARE(outcome.err, QString());
}

void TestCipherCommands::refusesBadUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("md5 alone") << QStringList{u"md5"_s};
    QTest::newRow("md5 two texts") << QStringList{u"md5"_s, u"a"_s, u"b"_s};
    QTest::newRow("md5 --file without name") << QStringList{u"md5"_s, u"--file"_s};
    QTest::newRow("md5 unknown option") << QStringList{u"md5"_s, u"--fast"_s, u"a"_s};
    QTest::newRow("base64 unknown mode") << QStringList{u"base64"_s, u"rot13"_s, u"a"_s};
    QTest::newRow("base64 encode-file one name") << QStringList{u"base64"_s, u"encode-file"_s, u"a"_s};
    QTest::newRow("rndxor without password") << QStringList{u"rndxor"_s, u"encrypt"_s, u"a"_s};
    QTest::newRow("rndxor bad key size") << QStringList{u"rndxor"_s, u"encrypt"_s, u"--password"_s, u"p"_s,
                                                        u"--key-size"_s, u"eight"_s, u"a"_s};
    QTest::newRow("rndxor key size too big") << QStringList{u"rndxor"_s, u"encrypt"_s, u"--password=p"_s,
                                                            u"--key-size=40000"_s, u"a"_s};
    QTest::newRow("rndxor file mode one name") << QStringList{u"rndxor"_s, u"decrypt-file"_s, u"--password=p"_s, u"a"_s};
}

void TestCipherCommands::refusesBadUsage()
{
    QFETCH(QStringList, arguments);
    const CliOutcome outcome = runCli(arguments);
    QCOMPARE(outcome.code, 2);
    QCOMPARE(outcome.out, QString());
    QVERIFY(outcome.err.contains(u"usage"));
}

void TestCipherCommands::digestsFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"abc.txt"_s);
    QVERIFY(TestFiles::writeAll(path, "abc"));
    CliOutcome outcome = runCli({u"md5"_s, u"--file"_s, path});
    QCOMPARE(outcome.code, 0);
    QCOMPARE(outcome.out, u"900150983CD24FB0D6963F7D28E17F72\n"_s);

    outcome = runCli({u"md5"_s, u"--file="_s + dir.filePath(u"absent"_s)});
    QCOMPARE(outcome.code, 1);
    QCOMPARE(outcome.out, QString());
    QVERIFY(outcome.err.contains(u"File not found"));
}

void TestCipherCommands::convertsBase64Files()
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.txt"_s);
    const QString base64 = dir.filePath(u"plain.b64"_s);
    const QString restored = dir.filePath(u"restored.txt"_s);
    QVERIFY(TestFiles::writeAll(plain, "foobar \xD6\xD0\xCE\xC4"));
    QCOMPARE(runCli({u"base64"_s, u"encode-file"_s, plain, base64}).code, 0);
    QCOMPARE(TestFiles::readAll(base64), QByteArray("Zm9vYmFyINbQzsQ="));
    QCOMPARE(runCli({u"base64"_s, u"decode-file"_s, restored, base64}).code, 0);
    QCOMPARE(TestFiles::readAll(restored), TestFiles::readAll(plain));

    const CliOutcome missing = runCli({u"base64"_s, u"decode-file"_s, restored, dir.filePath(u"absent"_s)});
    QCOMPARE(missing.code, 1);
    QVERIFY(missing.err.contains(u"cannot read"));
}

void TestCipherCommands::roundTripsRndXorTexts()
{
    const CliOutcome encrypted = runCli({u"rndxor"_s, u"encrypt"_s, u"--password"_s, u"口令"_s, u"--key-size"_s, u"5"_s, u"明文 text"_s});
    QCOMPARE(encrypted.code, 0);
    const QString ciphertext = encrypted.out.trimmed() + u' ';
    QCOMPARE(ciphertext.size(), 6 * (15 + 7));

    const CliOutcome decrypted = runCli({u"rndxor"_s, u"decrypt"_s, u"--password=口令"_s, u"--key-size=5"_s, ciphertext});
    QCOMPARE(decrypted.code, 0);
    QCOMPARE(decrypted.out, u"明文 text\n"_s);
}

void TestCipherCommands::failsOnRndXorChecks()
{
    const QString ciphertext = runCli({u"rndxor"_s, u"encrypt"_s, u"--password=pw"_s, u"secret"_s}).out.trimmed();
    CliOutcome outcome = runCli({u"rndxor"_s, u"decrypt"_s, u"--password=other"_s, ciphertext});
    QCOMPARE(outcome.code, 1);
    QCOMPARE(outcome.out, QString());
    QVERIFY(outcome.err.contains(u"密码不正确！"));

    QString tampered = ciphertext;
    tampered[6 * 24] = tampered[6 * 24] == u'0' ? u'1' : u'0';
    outcome = runCli({u"rndxor"_s, u"decrypt"_s, u"--password=pw"_s, tampered});
    QCOMPARE(outcome.code, 1);
    QVERIFY(outcome.err.contains(u"密文被修改，完整性不正确！"));
}

void TestCipherCommands::roundTripsRndXorFiles()
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.txt"_s);
    const QString cipher = dir.filePath(u"cipher.txt"_s);
    const QString restored = dir.filePath(u"restored.txt"_s);
    QVERIFY(TestFiles::writeAll(plain, "GBK \xD6\xD0\xCE\xC4\n"));
    QCOMPARE(runCli({u"rndxor"_s, u"encrypt-file"_s, u"--password=pw"_s, plain, cipher}).code, 0);
    QCOMPARE(runCli({u"rndxor"_s, u"decrypt-file"_s, u"--password=pw"_s, restored, cipher}).code, 0);
    QCOMPARE(TestFiles::readAll(restored), TestFiles::readAll(plain));

    const QString other = dir.filePath(u"other.txt"_s);
    const CliOutcome wrong = runCli({u"rndxor"_s, u"decrypt-file"_s, u"--password=nope"_s, other, cipher});
    QCOMPARE(wrong.code, 1);
    QVERIFY(!QFile::exists(other));
    QCOMPARE(runCli({u"rndxor"_s, u"encrypt-file"_s, u"--password=pw"_s, dir.filePath(u"absent"_s), cipher}).code, 1);
}

void TestCipherCommands::reportsFilesNotWritten_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("output"); // relative to the test's folder
    QTest::addColumn<QString>("reason");
    const QByteArray cipher = runCli({u"rndxor"_s, u"encrypt"_s, u"--password=pw"_s, u"text"_s}).out.trimmed().toLatin1();
    const QString folder = u"folder"_s;
    const QString missingFolder = u"absent/out"_s;
    QTest::newRow("base64 encode-file into a folder") << u"base64"_s << u"encode-file"_s << QByteArray("abc") << folder << QString();
    QTest::newRow("base64 decode-file into a folder") << u"base64"_s << u"decode-file"_s << QByteArray("YWJj") << folder << QString();
    QTest::newRow("base64 encode-file, no such folder") << u"base64"_s << u"encode-file"_s << QByteArray("abc") << missingFolder << QString();
    QTest::newRow("rndxor encrypt-file into a folder") << u"rndxor"_s << u"encrypt-file"_s << QByteArray("abc") << folder << QString();
    QTest::newRow("rndxor decrypt-file into a folder") << u"rndxor"_s << u"decrypt-file"_s << cipher << folder << QString();
    QTest::newRow("rndxor decrypt-file, no such folder") << u"rndxor"_s << u"decrypt-file"_s << cipher << missingFolder << QString();
    QTest::newRow("rndxor encrypt-file of a binary file")
        << u"rndxor"_s << u"encrypt-file"_s << QByteArray("x\x81") << u"out"_s << u"不是文本文件"_s;
}

void TestCipherCommands::reportsFilesNotWritten()
{
    QFETCH(QString, command);
    QFETCH(QString, mode);
    QFETCH(QByteArray, input);
    QFETCH(QString, output);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    const QString in = dir.filePath(u"in"_s);
    const QString out = dir.filePath(output);
    QVERIFY(TestFiles::writeAll(in, input));
    // The file forms take the plain file first whichever way they go.
    const bool plainIsOutput = mode.startsWith(u"decrypt") || mode.startsWith(u"decode");
    QStringList arguments{command, mode};
    if (command == u"rndxor")
        arguments << u"--password=pw"_s;
    arguments << (plainIsOutput ? out : in) << (plainIsOutput ? in : out);

    const CliOutcome outcome = runCli(arguments);
    QCOMPARE(outcome.code, 1);
    QVERIFY2(outcome.err.contains(reason.isEmpty() ? u"cannot write "_s + out : reason), qPrintable(outcome.err));
    QVERIFY(!QFileInfo(out).isFile());
}

QTEST_GUILESS_MAIN(TestCipherCommands)
#include "tst_ciphercommands.moc"
