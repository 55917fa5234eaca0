#include "crypto/messagesink.h"
#include "crypto/rndxor/mtransform.h"
#include "crypto/rndxor/rndxorhash.h"
#include "support/fifofeed.h"
#include "support/files.h"
#include "support/messagerecorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
using Crypto::CRndXorHash;
using Crypto::MessageSeverity;

namespace {

const QString kWrongPassword = u"密码不正确！"_s;
const QString kTampered = u"密文被修改，完整性不正确！"_s;

QDateTime fixedMoment(int second = 56)
{
    return QDateTime(QDate(2024, 5, 1), QTime(12, 34, second));
}

CRndXorHash cipherAt(const QDateTime &moment, qint16 keySize = 0)
{
    CRndXorHash cipher;
    if (keySize != 0)
        cipher.setKeySize(keySize);
    cipher.setClock([moment] { return moment; });
    return cipher;
}

// Replaces the hexadecimal digits of one code unit of the ciphertext.
QString withUnitChanged(QString ciphertext, qsizetype unit)
{
    QChar &digit = ciphertext[unit * 6 + 1];
    digit = digit == u'0' ? u'1' : u'0';
    return ciphertext;
}

} // namespace

class TestRndXorHash : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void roundTrips_data();
    void roundTrips();
    void ciphertextLength_data();
    void ciphertextLength();
    void refusesWrongPassword();
    void detectsChangedCiphertext_data();
    void detectsChangedCiphertext();
    void keySizeBelowOneGeneratesKeyOfEight_data();
    void keySizeBelowOneGeneratesKeyOfEight();
    void saltFollowsTheSecond();
    void matchesGoldenCiphertexts_data();
    void matchesGoldenCiphertexts();
    void decryptsBeyondSixteenBitHeaders();
    void roundTripsFiles();
    void writesNoFileOnFailedCheck();
    void skipsUnreadableFiles();
    void refusesFilesThatAreNoText_data();
    void refusesFilesThatAreNoText();

private:
    MessageRecorder m_messages;
};

void TestRndXorHash::init()
{
    m_messages.clear();
}

void TestRndXorHash::roundTrips_data()
{
    QTest::addColumn<QString>("plaintext");
    QTest::addColumn<qint16>("keySize");
    QTest::newRow("empty") << QString() << qint16(0);
    QTest::newRow("ascii") << u"The quick brown fox"_s << qint16(0);
    QTest::newRow("chinese") << u"360云盘资源获取器"_s << qint16(0);
    QTest::newRow("surrogates and U+0000") << u"a\U0001F600\u0000b\uFFFF"_s << qint16(0);
    QTest::newRow("key of 1") << u"short key"_s << qint16(1);
    QTest::newRow("key of 128") << u"中文 and ASCII"_s << qint16(128);
    QTest::newRow("long text") << u"明文0123456789"_s.repeated(500) << qint16(16);
}

void TestRndXorHash::roundTrips()
{
    QFETCH(QString, plaintext);
    QFETCH(qint16, keySize);
    CRndXorHash cipher = cipherAt(fixedMoment(), keySize);
    const QString ciphertext = cipher.StringEncrypt(plaintext, u"口令 secret");
    QCOMPARE(cipher.StringDecrypt(ciphertext, u"口令 secret"), plaintext);
    QVERIFY(m_messages.texts.isEmpty());
    if (plaintext.size() > 4)
        QVERIFY(!ciphertext.endsWith(Crypto::MTransform::STR_to_HEX2(plaintext)));
}

void TestRndXorHash::ciphertextLength_data()
{
    QTest::addColumn<qint16>("keySize");
    QTest::addColumn<QString>("plaintext");
    QTest::addColumn<int>("length");
    QTest::newRow("empty, K=128") << qint16(128) << QString() << 2304;
    QTest::newRow("5 units, K=8") << qint16(8) << u"hello"_s << 6 * (24 + 5);
    QTest::newRow("chinese, K=3") << qint16(3) << u"中文"_s << 6 * (9 + 2);
}

void TestRndXorHash::ciphertextLength()
{
    QFETCH(qint16, keySize);
    QFETCH(QString, plaintext);
    QFETCH(int, length);
    const QString ciphertext = cipherAt(fixedMoment(), keySize).StringEncrypt(plaintext, u"pw");
    QCOMPARE(ciphertext.size(), length);
    QVERIFY(ciphertext.endsWith(u' '));
}

void TestRndXorHash::refusesWrongPassword()
{
    CRndXorHash cipher = cipherAt(fixedMoment());
    const QString ciphertext = cipher.StringEncrypt(u"机密", u"right");
    QCOMPARE(cipher.StringDecrypt(ciphertext, u"wrong"), QString());
    QCOMPARE(m_messages.texts.size(), 1);
    QCOMPARE(m_messages.texts[0], kWrongPassword);
    QCOMPARE(m_messages.icons[0], MessageSeverity::Critical);

    // Another key is as good as another password.
    CRndXorHash otherKey = cipherAt(fixedMoment(), 8);
    QCOMPARE(otherKey.StringDecrypt(ciphertext, u"right"), QString());
    QCOMPARE(m_messages.texts.back(), kWrongPassword);
}

void TestRndXorHash::detectsChangedCiphertext_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("message");
    QTest::newRow("first body unit") << 24 << kTampered;
    QTest::newRow("last body unit") << 24 + 9 << kTampered;
    QTest::newRow("plaintext check") << 20 << kTampered;
    QTest::newRow("password check") << 10 << kWrongPassword;
    QTest::newRow("salt") << 0 << kWrongPassword;
}

void TestRndXorHash::detectsChangedCiphertext()
{
    QFETCH(int, unit);
    QFETCH(QString, message);
    CRndXorHash cipher = cipherAt(fixedMoment());
    const QString ciphertext = cipher.StringEncrypt(u"0123456789", u"pw");
    QCOMPARE(cipher.StringDecrypt(withUnitChanged(ciphertext, unit), u"pw"), QString());
    QCOMPARE(m_messages.texts.size(), 1);
    QCOMPARE(m_messages.texts[0], message);
    QCOMPARE(m_messages.icons[0], message == kTampered ? MessageSeverity::Warning : MessageSeverity::Critical);

    // A truncated ciphertext and a text that is no ciphertext at all are refused as well.
    QCOMPARE(cipher.StringDecrypt(ciphertext.left(ciphertext.size() - 6), u"pw"), QString());
    QCOMPARE(cipher.StringDecrypt(u"not a ciphertext", u"pw"), QString());
    QCOMPARE(cipher.StringDecrypt(QString(), u"pw"), QString());
    QCOMPARE(m_messages.texts.size(), 4);
}

void TestRndXorHash::keySizeBelowOneGeneratesKeyOfEight_data()
{
    QTest::addColumn<qint16>("requested");
    QTest::newRow("0") << qint16(0);
    QTest::newRow("-5") << qint16(-5);
}

void TestRndXorHash::keySizeBelowOneGeneratesKeyOfEight()
{
    QFETCH(qint16, requested);
    CRndXorHash cipher = cipherAt(fixedMoment());
    cipher.setKeySize(requested);
    QCOMPARE(cipher.keySize(), qint16(8));

    // Same moment, same key length: equal ciphertexts mean equal keys.
    const QString generated = cipher.StringEncrypt(u"x", u"pw");
    QCOMPARE(generated, cipherAt(fixedMoment(), 8).StringEncrypt(u"x", u"pw"));
    QVERIFY(generated != cipherAt(fixedMoment()).StringEncrypt(u"x", u"pw"));
}

void TestRndXorHash::saltFollowsTheSecond()
{
    const QString atFirst = cipherAt(fixedMoment(56)).StringEncrypt(u"text", u"pw");
    const QDateTime later = fixedMoment(56).addMSecs(999);
    QCOMPARE(cipherAt(later).StringEncrypt(u"text", u"pw"), atFirst);
    QVERIFY(cipherAt(fixedMoment(57)).StringEncrypt(u"text", u"pw") != atFirst);
    QVERIFY(cipherAt(fixedMoment().addDays(1)).StringEncrypt(u"text", u"pw") != atFirst);

    // Deciphering needs no clock: another moment reads the same ciphertext.
    QCOMPARE(cipherAt(fixedMoment().addYears(3)).StringDecrypt(atFirst, u"pw"), u"text"_s);
}

void TestRndXorHash::matchesGoldenCiphertexts_data()
{
    QTest::addColumn<qint16>("keySize");
    QTest::addColumn<QString>("plaintext");
    QTest::addColumn<QString>("ciphertext");
    QTest::newRow("default key") << qint16(0) << u"Hi 中文"_s
                                 << u"0B 00 24 00 74 00 1E 00 42 00 3E 00 78 00 19 00 1F 00 32 00 50 00 71 00 "
                                    "7E 00 46 00 4A 00 0F 00 13 00 23 00 00 00 14 00 31 00 04 00 60 00 7D 00 "
                                    "6E 00 3C 00 42 00 17 4E CA 65 "_s;
    // Units of 0x8000 and above and U+0000 seed without the generator's restart.
    QTest::newRow("units without restart")
        << qint16(0) << u"a\u0000龍釜\uFFFF\U0001F600\u8000\u7FFF"_s.repeated(3)
        << u"0B 00 24 00 74 00 1E 00 42 00 3E 00 78 00 19 00 1F 00 32 00 50 00 71 00 "
           "7E 00 46 00 4A 00 0F 00 31 00 31 00 04 00 68 00 10 00 2C 00 57 00 13 00 "
           "1A 00 00 00 C6 9F D0 91 FC FF 58 D8 11 DE 06 80 F3 7F 23 00 5F 00 F0 9F "
           "E9 91 C5 FF 4B D8 13 DE 07 80 D5 7F 47 00 1F 00 DE 9F F5 91 EE FF 09 D8 "
           "65 DE 6B 80 EB 7F "_s;
    QTest::newRow("generated key of 4") << qint16(4) << u"A"_s
                                        << u"5A 00 10 00 43 00 75 00 03 00 06 00 08 00 77 00 36 00 33 00 7C 00 "
                                           "28 00 63 00 "_s;
}

void TestRndXorHash::matchesGoldenCiphertexts()
{
    QFETCH(qint16, keySize);
    QFETCH(QString, plaintext);
    QFETCH(QString, ciphertext);
    CRndXorHash cipher = cipherAt(fixedMoment(), keySize);
    QCOMPARE(cipher.StringEncrypt(plaintext, u"golden"), ciphertext);
    QCOMPARE(cipher.StringDecrypt(ciphertext, u"golden"), plaintext);
}

void TestRndXorHash::decryptsBeyondSixteenBitHeaders()
{
    CRndXorHash cipher = cipherAt(fixedMoment(), 10923);
    const QString ciphertext = cipher.StringEncrypt(u"大钥匙", u"pw");
    QCOMPARE(ciphertext.size(), 6 * (3 * 10923 + 3));
    QCOMPARE(cipher.StringDecrypt(ciphertext, u"pw"), u"大钥匙"_s);
}

void TestRndXorHash::roundTripsFiles()
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.txt"_s);
    const QString cipherFile = dir.filePath(u"cipher.txt"_s);
    const QString restored = dir.filePath(u"restored.txt"_s);
    // Long enough to be written and read back in several pieces, ASCII and then GBK pieces.
    const QByteArray gbk = QByteArray(1 << 20, 'a') + QByteArray("line 1\r\n\xD6\xD0\xCE\xC4 line 2\n").repeated(12000);
    QVERIFY(TestFiles::writeAll(plain, gbk));
    QVERIFY(TestFiles::writeAll(cipherFile, QByteArray(4096, 'x'))); // longer than the ciphertext

    CRndXorHash cipher = cipherAt(fixedMoment());
    cipher.FileEncrypt(plain, cipherFile, u"pw");
    const QByteArray stored = TestFiles::readAll(cipherFile);
    QCOMPARE(QString::fromLatin1(stored), cipher.StringEncrypt(QString(QString(1 << 20, u'a') + u"line 1\r\n中文 line 2\n"_s.repeated(12000)), u"pw"));

    cipher.FileDecrypt(restored, cipherFile, u"pw");
    QCOMPARE(TestFiles::readAll(restored), gbk);
    QVERIFY(m_messages.texts.isEmpty());

    // A FIFO has no size to make room by: the whole text arrives at the end.
    const QString fifo = dir.filePath(u"fifo"_s);
    {
        const FifoFeed feed(fifo, gbk);
        QVERIFY(feed.isMade());
        cipher.FileEncrypt(fifo, cipherFile, u"pw");
    }
    QCOMPARE(TestFiles::readAll(cipherFile), stored);
    QVERIFY(QFile::remove(fifo) && QFile::remove(restored));
    {
        const FifoFeed feed(fifo, stored);
        QVERIFY(feed.isMade());
        cipher.FileDecrypt(restored, fifo, u"pw");
    }
    QCOMPARE(TestFiles::readAll(restored), gbk);

    // A GBK character late in the carrier form is read as the text form would read it.
    QVERIFY(TestFiles::writeAll(cipherFile, stored + "\xD6\xD0"));
    cipher.FileDecrypt(restored, cipherFile, u"pw");
    QCOMPARE(m_messages.texts, QStringList{kTampered});
    QCOMPARE(TestFiles::readAll(restored), gbk);
}

void TestRndXorHash::writesNoFileOnFailedCheck()
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.txt"_s);
    const QString cipherFile = dir.filePath(u"cipher.txt"_s);
    QVERIFY(TestFiles::writeAll(plain, "keep me"));
    CRndXorHash cipher = cipherAt(fixedMoment());
    QVERIFY(TestFiles::writeAll(cipherFile, cipher.StringEncrypt(u"secret", u"pw").toLatin1()));

    cipher.FileDecrypt(plain, cipherFile, u"other");
    QCOMPARE(TestFiles::readAll(plain), QByteArray("keep me"));
    QVERIFY(TestFiles::writeAll(cipherFile, withUnitChanged(cipher.StringEncrypt(u"secret", u"pw"), 25).toLatin1()));
    cipher.FileDecrypt(plain, cipherFile, u"pw");
    QCOMPARE(TestFiles::readAll(plain), QByteArray("keep me"));
    QCOMPARE(m_messages.texts.size(), 2);
    QCOMPARE(m_messages.texts[0], kWrongPassword);
    QCOMPARE(m_messages.texts[1], kTampered);
}

void TestRndXorHash::skipsUnreadableFiles()
{
    QTemporaryDir dir;
    const QString cipherFile = dir.filePath(u"cipher.txt"_s);
    const QString plain = dir.filePath(u"plain.txt"_s);
    CRndXorHash cipher;
    cipher.FileEncrypt(dir.filePath(u"absent"_s), cipherFile, u"pw");
    QVERIFY(!QFile::exists(cipherFile));
    cipher.FileDecrypt(plain, dir.filePath(u"absent"_s), u"pw");
    QVERIFY(!QFile::exists(plain));
    QVERIFY(m_messages.texts.isEmpty());
}

void TestRndXorHash::refusesFilesThatAreNoText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray random(3020, Qt::Uninitialized);
    std::mt19937 generator(3020);
    for (char &byte : random)
        byte = static_cast<char>(generator());
    QTest::newRow("trailing lead byte") << QByteArray("x\x81");
    QTest::newRow("invalid pair") << QByteArray("\x81\x30 text");
    QTest::newRow("after a chunk of ASCII") << QByteArray(1 << 20, 'a') + "\x81";
    QTest::newRow("random bytes") << random;
}

void TestRndXorHash::refusesFilesThatAreNoText()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.bin"_s);
    const QString cipherFile = dir.filePath(u"cipher.txt"_s);
    QVERIFY(TestFiles::writeAll(plain, bytes));
    const Crypto::FileOutcome outcome = cipherAt(fixedMoment()).FileEncrypt(plain, cipherFile, u"pw");
    QVERIFY(!outcome.written);
    QVERIFY(!QFile::exists(cipherFile));
    QCOMPARE(m_messages.texts.size(), 1);
    QVERIFY(m_messages.texts[0].contains(plain) && m_messages.texts[0].contains(u"不是文本文件"));
}

QTEST_APPLESS_MAIN(TestRndXorHash)
#include "tst_rndxorhash.moc"
