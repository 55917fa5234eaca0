#include "crypto/ciphererror.h"
#include "crypto/md5/md5encrypt.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Crypto::CipherError;
using Crypto::CMD5Encrypt;

namespace {

// Bytes (7i + 3) mod 256: every byte value, no run that would hide a misplaced block.
QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 256);
    return bytes;
}

QString digestOf(QByteArrayView bytes)
{
    CMD5Encrypt md5;
    md5.MD5Init();
    md5.MD5Update(bytes.size(), bytes);
    md5.MD5Final();
    return md5.GetValues();
}

int errorNumberOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const CipherError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

class TestMd5Encrypt : public QObject
{
    Q_OBJECT

private slots:
    void digestsText_data();
    void digestsText();
    void splitUpdatesEqualOneCall();
    void digestsFiles_data();
    void digestsFiles();
    void refusesMissingAndUnreadableFiles();
    void registersAfterInit();
    void keepsDigestAfterFinal();
    void refusesBadByteCounts();
    void rotatesLeft_data();
    void rotatesLeft();
};

void TestMd5Encrypt::digestsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digest");

    // The RFC 1321 test suite.
    QTest::newRow("empty") << QString() << u"D41D8CD98F00B204E9800998ECF8427E"_s;
    QTest::newRow("a") << u"a"_s << u"0CC175B9C0F1B6A831C399E269772661"_s;
    QTest::newRow("abc") << u"abc"_s << u"900150983CD24FB0D6963F7D28E17F72"_s;
    QTest::newRow("message digest") << u"message digest"_s << u"F96B697D7CB7938D525A2F31AAF161D0"_s;
    QTest::newRow("alphabet") << u"abcdefghijklmnopqrstuvwxyz"_s << u"C3FCD3D76192E4007DFB496CCA67E13B"_s;
    QTest::newRow("alphanumeric") << u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"_s
                                  << u"D174AB98D277D9F5A5611C2C9F419D9F"_s;
    QTest::newRow("digits x8") << u"1234567890"_s.repeated(8) << u"57EDF4A22BE3C955AC49DA2E2107B67A"_s;

    // Around the point where the padding needs a second block.
    QTest::newRow("55 bytes") << u"a"_s.repeated(55) << u"EF1772B6DFF9A122358552954AD0DF65"_s;
    QTest::newRow("56 bytes") << u"a"_s.repeated(56) << u"3B0C8AC703F828B04C6C197006D17218"_s;
    QTest::newRow("57 bytes") << u"a"_s.repeated(57) << u"652B906D60AF96844EBD21B674F35E93"_s;
    QTest::newRow("63 bytes") << u"a"_s.repeated(63) << u"B06521F39153D618550606BE297466D5"_s;
    QTest::newRow("64 bytes") << u"a"_s.repeated(64) << u"014842D480B571495A4A0363793F7367"_s;
    QTest::newRow("65 bytes") << u"a"_s.repeated(65) << u"C743A45E0D2E6A95CB859ADAE0248435"_s;

    // Two GBK bytes per Chinese character: D6 D0 CE C4 D5 AA D2 AA.
    QTest::newRow("chinese") << u"中文摘要"_s << u"7590991D2179BD809A08F3BD59E7BC60"_s;
}

void TestMd5Encrypt::digestsText()
{
    QFETCH(QString, text);
    QFETCH(QString, digest);
    CMD5Encrypt md5;
    QCOMPARE(md5.DigestStrToHexStr(text), digest);
}

void TestMd5Encrypt::splitUpdatesEqualOneCall()
{
    const QByteArray message = pattern(128);
    const QString whole = digestOf(message);
    for (qsizetype split = 0; split <= message.size(); ++split) {
        CMD5Encrypt md5;
        md5.MD5Init();
        md5.MD5Update(split, message);
        md5.MD5Update(message.size() - split, message.mid(split));
        md5.MD5Final();
        QCOMPARE(md5.GetValues(), whole);
    }

    CMD5Encrypt bytewise;
    for (qsizetype i = 0; i < message.size(); ++i)
        bytewise.MD5Update(1, message.mid(i, 1));
    bytewise.MD5Final();
    QCOMPARE(bytewise.GetValues(), whole);
}

void TestMd5Encrypt::digestsFiles_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("digest");
    QTest::newRow("empty") << 0 << u"D41D8CD98F00B204E9800998ECF8427E"_s;
    QTest::newRow("one block") << 64 << u"7160B8FB5E9E4023D549C3971FBAEEAD"_s;
    QTest::newRow("two blocks") << 128 << u"10B2DA1A82F16D99A81A7203FE9F02CB"_s;
    QTest::newRow("1000 bytes") << 1000 << u"10046F077F2082AC19676B8079F1CB1A"_s;
    QTest::newRow("several read chunks") << 200000 << u"D7F02347E9FD18D5B486E864A9D37C08"_s;
}

void TestMd5Encrypt::digestsFiles()
{
    QFETCH(int, size);
    QFETCH(QString, digest);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"input.bin"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(pattern(size));
    file.close();

    CMD5Encrypt md5;
    md5.MD5Update(3, "xyz"); // the file digest starts afresh
    QCOMPARE(md5.DigestFileToHexStr(path), digest);
    QCOMPARE(digestOf(pattern(size)), digest);
}

void TestMd5Encrypt::refusesMissingAndUnreadableFiles()
{
    QTemporaryDir dir;
    CMD5Encrypt md5;
    QCOMPARE(errorNumberOf([&] { md5.DigestFileToHexStr(dir.filePath(u"absent"_s)); }), 53);
    QCOMPARE(errorNumberOf([&] { md5.DigestFileToHexStr(dir.path()); }), 75);
}

void TestMd5Encrypt::registersAfterInit()
{
    CMD5Encrypt md5;
    md5.DigestStrToHexStr(u"abc");
    md5.MD5Init();
    QCOMPARE(md5.RegisterA(), u"1732584193"_s);
    QCOMPARE(md5.RegisterB(), u"-271733879"_s);
    QCOMPARE(md5.RegisterC(), u"-1732584194"_s);
    QCOMPARE(md5.RegisterD(), u"271733878"_s);
    QCOMPARE(md5.GetValues(), u"0123456789ABCDEFFEDCBA9876543210"_s);
}

void TestMd5Encrypt::keepsDigestAfterFinal()
{
    CMD5Encrypt md5;
    md5.MD5Update(3, "abc");
    md5.MD5Final();
    QCOMPARE(md5.GetValues(), u"900150983CD24FB0D6963F7D28E17F72"_s);
    QCOMPARE(md5.GetValues(), u"900150983CD24FB0D6963F7D28E17F72"_s);
    // A = 98500190 read little-endian from the digest's first four bytes.
    QCOMPARE(md5.RegisterA(), QString::number(static_cast<qint32>(0x98500190u)));
}

void TestMd5Encrypt::refusesBadByteCounts()
{
    CMD5Encrypt md5;
    QCOMPARE(errorNumberOf([&] { md5.MD5Update(4, "abc"); }), 9);
    QCOMPARE(errorNumberOf([&] { md5.MD5Update(-1, "abc"); }), 5);

    // A count below the array's size takes only the leading bytes.
    md5.MD5Init();
    md5.MD5Update(3, "abcdef");
    md5.MD5Final();
    QCOMPARE(md5.GetValues(), u"900150983CD24FB0D6963F7D28E17F72"_s);
}

void TestMd5Encrypt::rotatesLeft_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<qint32>("count");
    QTest::addColumn<quint32>("rotated");
    QTest::addColumn<qint32>("reducedCount");
    QTest::newRow("by 1") << 0x80000001u << 1 << 3u << 1;
    QTest::newRow("by 33") << 0x80000001u << 33 << 3u << 1;
    QTest::newRow("by -1") << 0x80000001u << -1 << 0x80000001u << -1;
    QTest::newRow("by -33") << 0x80000001u << -33 << 0x80000001u << -1;
    QTest::newRow("by 0") << 0x12345678u << 0 << 0x12345678u << 0;
    QTest::newRow("by 32") << 0x12345678u << 32 << 0x12345678u << 0;
    QTest::newRow("by 4") << 0x12345678u << 4 << 0x23456781u << 4;
    QTest::newRow("by 31") << 0x00000003u << 31 << 0x80000001u << 31;
}

void TestMd5Encrypt::rotatesLeft()
{
    QFETCH(quint32, value);
    QFETCH(qint32, count);
    QFETCH(quint32, rotated);
    QFETCH(qint32, reducedCount);
    auto inOut = static_cast<qint32>(value);
    const qint32 result = CMD5Encrypt::LongLeftRotate(inOut, count);
    QCOMPARE(static_cast<quint32>(result), rotated);
    QCOMPARE(static_cast<quint32>(inOut), rotated);
    QCOMPARE(count, reducedCount);
}

QTEST_APPLESS_MAIN(TestMd5Encrypt)
#include "tst_md5encrypt.moc"
