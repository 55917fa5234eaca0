// "vorlen360-cli aes": known answers through the command line, exit codes for messages, raised
// errors and bad usage, and the file forms.

#include "support/clirun.h"
#include "support/vectorfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

CliOutcome aes(const QStringList &arguments)
{
    return runCli(QStringList{u"aes"_s} + arguments);
}

} // namespace

class TestAesCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void knownAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("blockBits");
        QTest::addColumn<QString>("keyBits");
        QTest::addColumn<QString>("hex");
        const auto records = VectorFile::read(QFINDTESTDATA("../crypto/data/rijndael.vec"), u"Text"_s);
        QVERIFY(!records.isEmpty());
        for (const VectorFile::Record &r : records)
            QTest::addRow("%s/%s", qPrintable(r[u"Text"_s].left(8)), qPrintable(r[u"KeyBits"_s]))
                << r[u"Text"_s] << r[u"Password"_s] << r[u"BlockBits"_s] << r[u"KeyBits"_s] << r[u"Hex"_s];
    }

    void knownAnswers()
    {
        QFETCH(QString, text);
        QFETCH(QString, password);
        QFETCH(QString, blockBits);
        QFETCH(QString, keyBits);
        QFETCH(QString, hex);
        const QStringList sizes{u"--block-bits"_s, blockBits, u"--key-bits="_s + keyBits};
        const CliOutcome encrypted = aes(QStringList{u"encrypt"_s, u"--password"_s, password} + sizes + QStringList{text});
        QCOMPARE(encrypted.err, QString());
        QCOMPARE(encrypted.out, hex + u'\n');
        QCOMPARE(encrypted.code, 0);

        const CliOutcome decrypted = aes(QStringList{u"decrypt"_s, u"--password"_s, password} + sizes + QStringList{hex});
        QCOMPARE(decrypted.out, text + u'\n'); // the zero padding is gone
        QCOMPARE(decrypted.code, 0);
    }

    void defaultsAre256()
    {
        const CliOutcome implicit = aes({u"encrypt"_s, u"--password=Quill"_s, u"--"_s, u"--text"_s});
        const CliOutcome explicitSizes = aes({u"encrypt"_s, u"--key-bits"_s, u"256"_s, u"--block-bits=256"_s,
                                           u"--password"_s, u"Quill"_s, u"--"_s, u"--text"_s});
        QCOMPARE(implicit.code, 0);
        QCOMPARE(implicit.out, explicitSizes.out);
        QCOMPARE(aes({u"decrypt"_s, u"--password"_s, u"Quill"_s, implicit.out}).out, u"--text\n"_s);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("err");
        QTest::newRow("no hex digit") << QStringList{u"decrypt"_s, u"--password"_s, u"p"_s, u"xyz"_s}
                                      << u"错误：非十六进制数据！\n"_s;
        QTest::newRow("30 digits") << QStringList{u"decrypt"_s, u"--password"_s, u"p"_s, QString(30, u'7')}
                                   << u"ciphertext size not a multiple of block size\n"_s;
        QTest::newRow("64 key bits") << QStringList{u"encrypt"_s, u"--password"_s, u"p"_s, u"--key-bits"_s, u"64"_s, u"t"_s}
                                     << u"cRijndael.SetCipherKey - Illegal KeyBits Value\n"_s;
        QTest::newRow("4 block bits") << QStringList{u"encrypt"_s, u"--password"_s, u"p"_s, u"--block-bits=4"_s, u"t"_s}
                                      << u"cRijndael.StringEncrypt - Illegal BlockBits Value\n"_s;
    }

    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        const CliOutcome outcome = aes(arguments);
        QCOMPARE(outcome.code, 1);
        QCOMPARE(outcome.err, err);
        QCOMPARE(outcome.out, QString());
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no action") << QStringList{};
        QTest::newRow("unknown action") << QStringList{u"hash"_s, u"--password"_s, u"p"_s, u"t"_s};
        QTest::newRow("no password") << QStringList{u"encrypt"_s, u"t"_s};
        QTest::newRow("password without value") << QStringList{u"encrypt"_s, u"t"_s, u"--password"_s};
        QTest::newRow("no text") << QStringList{u"encrypt"_s, u"--password"_s, u"p"_s};
        QTest::newRow("two texts") << QStringList{u"decrypt"_s, u"--password"_s, u"p"_s, u"00"_s, u"11"_s};
        QTest::newRow("bits not a number") << QStringList{u"encrypt"_s, u"--password"_s, u"p"_s, u"--key-bits=x"_s, u"t"_s};
        QTest::newRow("unknown option") << QStringList{u"encrypt"_s, u"--password"_s, u"p"_s, u"--mode"_s, u"t"_s};
        QTest::newRow("block bits for a file") << QStringList{u"encrypt-file"_s, u"--password"_s, u"p"_s,
                                                              u"--block-bits"_s, u"128"_s, u"a"_s, u"b"_s};
        QTest::newRow("one file") << QStringList{u"decrypt-file"_s, u"--password"_s, u"p"_s, u"a"_s};
    }

    void badUsage()
    {
        QFETCH(QStringList, arguments);
        const CliOutcome outcome = aes(arguments);
        QCOMPARE(outcome.code, 2);
        QVERIFY(outcome.err.contains(u"aes encrypt --password P"_s));
        QCOMPARE(outcome.out, QString());
    }

    void files()
    {
        QVERIFY(m_dir.isValid());
        QFile plain(path(u"plain.txt"_s));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("line one\nline two\n");
        plain.close();
        const QStringList encrypt{u"encrypt-file"_s, u"--password"_s, u"文件"_s, u"--key-bits"_s, u"192"_s,
                                  path(u"plain.txt"_s), path(u"cipher.bin"_s)};
        QCOMPARE(aes(encrypt).code, 0);
        QCOMPARE(QFileInfo(path(u"cipher.bin"_s)).size(), 32);

        const CliOutcome back = aes({u"decrypt-file"_s, u"--password"_s, u"文件"_s, u"--key-bits=192"_s,
                                  path(u"back.txt"_s), path(u"cipher.bin"_s)});
        QCOMPARE(back.code, 0);
        QCOMPARE(back.err, QString());
        QFile backFile(path(u"back.txt"_s));
        QVERIFY(backFile.open(QIODevice::ReadOnly));
        QCOMPARE(backFile.readAll(), QByteArray("line one\nline two\n"));

        // 192 key bits use 24 key bytes: the default of 256 reads another key.
        const CliOutcome wrong = aes({u"decrypt-file"_s, u"--password"_s, u"文件"_s, path(u"back.txt"_s),
                                   path(u"cipher.bin"_s)});
        QCOMPARE(wrong.code, 1);
        QCOMPARE(wrong.err, u"warning - incorrect length field in decrypted file.\nWrong key or keysize?\n"_s);

        const CliOutcome missing = aes({u"encrypt-file"_s, u"--password"_s, u"p"_s, path(u"none"_s), path(u"out"_s)});
        QCOMPARE(missing.code, 1);
        QCOMPARE(missing.err, u"cRijndael.FileEncrypt - File not found: "_s + path(u"none"_s) + u'\n');

        const CliOutcome notBlocks = aes({u"decrypt-file"_s, u"--password"_s, u"p"_s, path(u"out"_s), path(u"plain.txt"_s)});
        QCOMPARE(notBlocks.code, 1);
        QCOMPARE(notBlocks.err, u"File Size Error - ciphertext file not a multiple of block size\n"_s);
        QVERIFY(!QFile::exists(path(u"out"_s)));
    }
};

QTEST_GUILESS_MAIN(TestAesCommand)
#include "tst_aescommand.moc"
