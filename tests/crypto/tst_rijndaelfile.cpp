// The file forms of cRijndael: the same bytes as the array form across chunk boundaries, the
// size and length-field reports, replaced output files, and the file errors raised.

#include "crypto/ciphererror.h"
#include "support/messagerecorder.h"
#include "crypto/aes/rijndael.h"
#include "support/fifofeed.h"
#include "support/raisedby.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QFileInfo>

#include <functional>


using Crypto::cRijndael;
using namespace Qt::StringLiterals;

namespace {

const QString LengthWarning = u"warning - incorrect length field in decrypted file.\r\nWrong key or keysize?"_s;
const QString SizeError = u"File Size Error - ciphertext file not a multiple of block size"_s;

QByteArray patterned(qsizetype n)
{
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestRijndaelFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    cRijndael m_aes;
    QString m_plain;
    QString m_cipher;
    QString m_back;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_aes.SetCipherKeyString(u"文件"_s, 256);
        m_plain = m_dir.filePath(u"plain.bin"_s);
        m_cipher = m_dir.filePath(u"cipher.bin"_s);
        m_back = m_dir.filePath(u"back.bin"_s);
    }

    // A FIFO reports the size 0: the content must come from reading it to its end, both ways.
    void readsFifosToTheirEnd()
    {
        const QString fifo = m_dir.filePath(u"fifo"_s);
        const QByteArray content = patterned(4'000'021);
        {
            const FifoFeed feed(fifo, content);
            QVERIFY(feed.isMade());
            m_aes.FileEncrypt(fifo, m_cipher);
        }
        QCOMPARE(QFileInfo(m_cipher).size(), 16 * (content.size() / 16 + 1));
        QVERIFY(QFile::remove(fifo));
        {
            const FifoFeed feed(fifo, readFile(m_cipher));
            QVERIFY(feed.isMade());
            QCOMPARE(m_aes.FileDecrypt(m_back, fifo), 0);
        }
        QVERIFY(QFile::remove(fifo));
        QCOMPARE(readFile(m_back), content);
    }

    // Sizes around the 4,000,000-byte chunk: one chunk, a chunk and one block, two chunks.
    void sameBytesAsArrayForm_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("cipherSize");
        for (const int n : {0, 5, 15, 16, 3'999'990, 3'999'999, 4'000'000, 4'000'001, 8'000'000})
            QTest::addRow("%d", n) << n << 16 * (n / 16 + 1);
    }

    void sameBytesAsArrayForm()
    {
        QFETCH(int, n);
        QFETCH(int, cipherSize);
        const QByteArray plain = patterned(n);
        writeFile(m_plain, plain);
        QCOMPARE(m_aes.FileEncrypt(m_plain, m_cipher), 0);
        const QByteArray cipher = readFile(m_cipher);
        QCOMPARE(cipher.size(), cipherSize);
        QByteArray expected;
        m_aes.ArrayEncrypt(plain, expected, true);
        QVERIFY(cipher == expected);

        QByteArray raw;
        m_aes.ArrayDecrypt(raw, cipher, false);
        QCOMPARE(int(raw.back()), n % 16);

        MessageRecorder messages;
        QCOMPARE(m_aes.FileDecrypt(m_back, m_cipher), 0);
        QVERIFY(readFile(m_back) == plain);
        QVERIFY(messages.texts.isEmpty());
    }

    void sizeErrorOpensNoFile_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("15") << 15;
        QTest::newRow("4,000,001") << 4'000'001;
    }

    void sizeErrorOpensNoFile()
    {
        QFETCH(int, size);
        writeFile(m_cipher, QByteArray(size, 'c'));
        writeFile(m_back, "keep me");
        MessageRecorder messages;
        QCOMPARE(m_aes.FileDecrypt(m_back, m_cipher), 1);
        QCOMPARE(readFile(m_back), QByteArray("keep me"));
        // A plaintext path that could not even be created is not touched either.
        QCOMPARE(m_aes.FileDecrypt(m_dir.filePath(u"no/such/dir"_s), m_cipher), 1);
        // From a FIFO the size shows only at the end; the plaintext stays all the same.
        const QString fifo = m_dir.filePath(u"fifo"_s);
        {
            const FifoFeed feed(fifo, QByteArray(size, 'c'));
            QVERIFY(feed.isMade());
            QCOMPARE(m_aes.FileDecrypt(m_back, fifo), 1);
        }
        QVERIFY(QFile::remove(fifo));
        QCOMPARE(readFile(m_back), QByteArray("keep me"));
        QCOMPARE(messages.texts, QStringList(3, SizeError));
    }

    void badLengthFieldKeepsLastChunk()
    {
        QByteArray plain = patterned(48);
        plain[47] = char(0x80);
        QByteArray cipher;
        m_aes.ArrayEncrypt(plain, cipher, false);
        writeFile(m_cipher, cipher);
        MessageRecorder messages;
        QCOMPARE(m_aes.FileDecrypt(m_back, m_cipher), 0);
        QVERIFY(readFile(m_back) == plain);
        QCOMPARE(messages.texts, QStringList{LengthWarning});
    }

    void wrongPassword()
    {
        writeFile(m_plain, patterned(1000));
        m_aes.FileEncryptSimple(m_plain, m_cipher, u"right"_s, 256, 256);
        MessageRecorder messages;
        m_aes.FileDecryptSimple(m_back, m_cipher, u"wrong"_s, 256, 256);
        QCOMPARE(messages.texts, QStringList{LengthWarning});
        QCOMPARE(readFile(m_back).size(), 1008);
        m_aes.FileDecryptSimple(m_back, m_cipher, u"right"_s, 256, 256);
        QVERIFY(readFile(m_back) == patterned(1000));
        QCOMPARE(messages.texts.size(), 1);
    }

    void simpleFormsUseTheKeySize_data()
    {
        QTest::addColumn<int>("keyBits");
        QTest::newRow("128") << 128;
        QTest::newRow("192") << 192;
        QTest::newRow("256") << 256;
    }

    void simpleFormsUseTheKeySize()
    {
        QFETCH(int, keyBits);
        writeFile(m_plain, patterned(77));
        m_aes.FileEncryptSimple(m_plain, m_cipher, u"密码"_s, 128, keyBits);
        cRijndael reference;
        reference.SetCipherKeyString(u"密码"_s, keyBits);
        QByteArray expected;
        reference.ArrayEncrypt(patterned(77), expected, true);
        QVERIFY(readFile(m_cipher) == expected);
    }

    void longerOutputIsReplaced()
    {
        writeFile(m_plain, "short");
        writeFile(m_cipher, QByteArray(100, 'x'));
        m_aes.FileEncrypt(m_plain, m_cipher);
        QCOMPARE(readFile(m_cipher).size(), 16);
        writeFile(m_back, QByteArray(100, 'x'));
        m_aes.FileDecrypt(m_back, m_cipher);
        QCOMPARE(readFile(m_back), QByteArray("short"));
    }

    void fileOntoItself()
    {
        writeFile(m_plain, patterned(40));
        m_aes.FileEncrypt(m_plain, m_plain);
        QCOMPARE(readFile(m_plain).size(), 48);
        m_aes.FileDecrypt(m_plain, m_plain);
        QVERIFY(readFile(m_plain) == patterned(40));
    }

    void fileErrors_data()
    {
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing plaintext") << true << u"missing"_s << u"out"_s
                                           << u"53 cRijndael.FileEncrypt - File not found: "_s;
        QTest::newRow("missing ciphertext") << false << u"missing"_s << u"out"_s
                                            << u"53 cRijndael.FileDecrypt - File not found: "_s;
        QTest::newRow("directory as plaintext") << true << u"."_s << u"out"_s
                                                << u"75 cRijndael.FileEncrypt - Path/File access error: "_s;
        QTest::newRow("unwritable ciphertext") << true << u"in"_s << u"no/dir/out"_s
                                               << u"75 cRijndael.FileEncrypt - Path/File access error: "_s;
        QTest::newRow("unwritable plaintext") << false << u"in16"_s << u"no/dir/out"_s
                                              << u"75 cRijndael.FileDecrypt - Path/File access error: "_s;
    }

    void fileErrors()
    {
        QFETCH(bool, encrypt);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QString, expected);
        writeFile(m_dir.filePath(u"in"_s), "some bytes");
        writeFile(m_dir.filePath(u"in16"_s), QByteArray(16, 'b'));
        const QString in = m_dir.filePath(input);
        const QString out = m_dir.filePath(output);
        const QString raised = raisedBy([&] {
            encrypt ? m_aes.FileEncrypt(in, out) : m_aes.FileDecrypt(out, in);
        });
        QVERIFY2(raised.startsWith(expected), qPrintable(raised));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_APPLESS_MAIN(TestRijndaelFile)
#include "tst_rijndaelfile.moc"
