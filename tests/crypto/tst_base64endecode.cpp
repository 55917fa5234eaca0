#include "crypto/base64/base64endecode.h"
#include "crypto/base64/base64file.h"
#include "crypto/base64/base64kernel.h"
#include "support/files.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Crypto::CBase64EnDeCode;

namespace {

// The address space this process takes now (VmSize), in bytes.
rlim_t addressSpaceInUse()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').value(0).toULongLong() * 1024;
    return 0;
}

} // namespace

class TestBase64EnDeCode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void cleanupTestCase();
    void kernelsAgree();
    void encodesAndDecodes_data();
    void encodesAndDecodes();
    void decodesByTheGroupingRules_data();
    void decodesByTheGroupingRules();
    void pairsBytesLikeGbk_data();
    void pairsBytesLikeGbk();
    void encodesFiles();
    void decodesFilesByteExact();
    void carriesGroupsAcrossChunks_data();
    void carriesGroupsAcrossChunks();
    void encodesHugeFileInBoundedMemory();
    void decodesShortGroupFileToEmptyFile();
    void skipsMissingFiles();
};

using Crypto::Base64Kernel::Engine;

// Every test runs on every kernel; one the processor lacks is skipped.
void TestBase64EnDeCode::initTestCase_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("scalar") << Engine::Scalar;
    QTest::newRow("avx2") << Engine::Avx2;
    QTest::newRow("avx-512") << Engine::Avx512;
}

void TestBase64EnDeCode::init()
{
    QFETCH_GLOBAL(Engine, engine);
    Crypto::Base64Kernel::setEngine(engine);
    if (Crypto::Base64Kernel::engine() != engine)
        QSKIP("the processor lacks this kernel's instructions");
}

void TestBase64EnDeCode::cleanupTestCase()
{
    Crypto::Base64Kernel::setEngine(Crypto::Base64Kernel::bestEngine());
}

// The vector kernels against the scalar one, on lengths around their 24-byte / 32-character
// steps and on texts with characters outside the alphabet in every place of a step.
void TestBase64EnDeCode::kernelsAgree()
{
    namespace Kernel = Crypto::Base64Kernel;
    std::mt19937 generator(2018);
    for (std::size_t size = 0; size <= 200; ++size) {
        std::vector<unsigned char> plain(size);
        for (unsigned char &byte : plain)
            byte = static_cast<unsigned char>(generator());
        std::vector<char> expected(Kernel::encodedSize(size)), actual(expected.size());
        Kernel::encodeScalar(plain.data(), size, expected.data());
        Kernel::encode(plain.data(), size, actual.data());
        QCOMPARE(actual, expected);

        const std::size_t groups = size / 4;
        std::vector<unsigned char> text(4 * groups);
        for (unsigned char &c : text)
            c = static_cast<unsigned char>(expected.empty() ? 'A' : expected[generator() % expected.size()]);
        if (!text.empty() && size % 3 == 0)
            text[generator() % text.size()] = "=\n\x80 -_"[generator() % 6];
        std::vector<unsigned char> scalarBytes(3 * groups), kernelBytes(3 * groups);
        Kernel::decodeGroupsScalar(text.data(), groups, scalarBytes.data());
        Kernel::decodeGroups(text.data(), groups, kernelBytes.data());
        QCOMPARE(kernelBytes, scalarBytes);
    }
}

void TestBase64EnDeCode::encodesAndDecodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("base64");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("f") << u"f"_s << u"Zg=="_s;
    QTest::newRow("fo") << u"fo"_s << u"Zm8="_s;
    QTest::newRow("foo") << u"foo"_s << u"Zm9v"_s;
    QTest::newRow("foob") << u"foob"_s << u"Zm9vYg=="_s;
    QTest::newRow("fooba") << u"fooba"_s << u"Zm9vYmE="_s;
    QTest::newRow("foobar") << u"foobar"_s << u"Zm9vYmFy"_s;
    QTest::newRow("chinese over GBK") << u"中文"_s << u"1tDOxA=="_s;
    QTest::newRow("mixed") << u"Base64 编码测试"_s << u"QmFzZTY0ILHgwuuy4srU"_s;
}

void TestBase64EnDeCode::encodesAndDecodes()
{
    QFETCH(QString, text);
    QFETCH(QString, base64);
    const CBase64EnDeCode codec;
    QCOMPARE(codec.Base64StringEncode(text), base64);
    QCOMPARE(codec.Base64StringDecode(base64), text);
}

void TestBase64EnDeCode::decodesByTheGroupingRules_data()
{
    QTest::addColumn<QString>("base64");
    QTest::addColumn<QString>("text");
    QTest::newRow("4k+1 ignores the last") << u"Zm9vYmFyZ"_s << u"foobar"_s;
    QTest::newRow("4k+2 gives nothing") << u"Zm9vYmFyZm"_s << QString();
    QTest::newRow("4k+3 gives nothing") << u"Zm9vYmFyZm8"_s << QString();
    QTest::newRow("single character") << u"Z"_s << QString();
    QTest::newRow("missing padding") << u"Zm8"_s << QString();
    QTest::newRow("U+0000 cuts") << u"YWIAY2Q="_s << u"ab"_s;
    QTest::newRow("line break shifts nothing") << u"Zm9v\nYmF"_s << u"foo\u0001\u5894"_s;
    QTest::newRow("foreign reads as 0") << u"Z?9v"_s << u"d\u000Fo"_s;
    QTest::newRow("non-ASCII takes two places") << u"Zm中v"_s << u"f`"_s;
    QTest::newRow("padding inside") << u"Zg==Zm8="_s << u"f"_s;
}

void TestBase64EnDeCode::decodesByTheGroupingRules()
{
    QFETCH(QString, base64);
    QFETCH(QString, text);
    QCOMPARE(CBase64EnDeCode().Base64StringDecode(base64), text);
}

void TestBase64EnDeCode::pairsBytesLikeGbk_data()
{
    QTest::addColumn<QString>("base64");
    QTest::addColumn<QString>("text");
    // B0 00 41 42: the zero is the partner of B0, not the end of the text.
    QTest::newRow("lead before zero") << u"sABBQg=="_s << u"\uFFFDAB"_s;
    // 81 30 43: an invalid pair swallows its second byte.
    QTest::newRow("invalid trail") << u"gTBD"_s << u"\uFFFDC"_s;
    // 80 41: 0x80 leads a pair like any other high byte.
    QTest::newRow("0x80 leads") << u"gEE="_s << u"\uFFFD"_s;
    // 41 B0: the last lead byte pairs with the padding zero.
    QTest::newRow("last lead byte") << u"QbA="_s << u"A\uFFFD"_s;
    // D6 D0 41: a valid pair.
    QTest::newRow("valid pair") << u"1tBB"_s << u"中A"_s;
}

void TestBase64EnDeCode::pairsBytesLikeGbk()
{
    QFETCH(QString, base64);
    QFETCH(QString, text);
    QCOMPARE(CBase64EnDeCode().Base64StringDecode(base64), text);
}

void TestBase64EnDeCode::encodesFiles()
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.txt"_s);
    const QString base64 = dir.filePath(u"plain.b64"_s);
    QVERIFY(TestFiles::writeAll(plain, "Base64 \xB1\xE0\xC2\xEB\xB2\xE2\xCA\xD4"));
    QVERIFY(TestFiles::writeAll(base64, QByteArray(100, 'x')));
    CBase64EnDeCode().Base64FileEncode(plain, base64);
    QCOMPARE(TestFiles::readAll(base64), QByteArray("QmFzZTY0ILHgwuuy4srU"));
}

void TestBase64EnDeCode::decodesFilesByteExact()
{
    // Every length over two groups, bytes without zeros but with invalid pairs and lone leads.
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.bin"_s);
    const QString base64 = dir.filePath(u"plain.b64"_s);
    const QString restored = dir.filePath(u"restored.bin"_s);
    const CBase64EnDeCode codec;
    for (int size = 0; size <= 40; ++size) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 37 + size) % 255 + 1);
        QVERIFY(TestFiles::writeAll(plain, bytes));
        codec.Base64FileEncode(plain, base64);
        codec.Base64FileDecode(restored, base64);
        QCOMPARE(TestFiles::readAll(restored), bytes);
    }

    // Zero bytes are carried like any other: a file is no text.
    QByteArray binary(5000, Qt::Uninitialized);
    std::mt19937 generator(10);
    for (char &byte : binary)
        byte = static_cast<char>(generator() % 4 == 0 ? 0 : generator());
    QVERIFY(TestFiles::writeAll(plain, binary));
    QVERIFY(codec.Base64FileEncode(plain, base64).written);
    QVERIFY(codec.Base64FileDecode(restored, base64).written);
    QCOMPARE(TestFiles::readAll(restored), binary);
}

void TestBase64EnDeCode::carriesGroupsAcrossChunks_data()
{
    QTest::addColumn<int>("plainSize");
    QTest::addColumn<QByteArray>("extraText"); // appended to the Base64 before decoding
    QTest::addColumn<bool>("decodesToPlain");  // else to an empty file
    // Chunks of 12: the Base64 of 9 bytes fills one, of 12 bytes one and a third.
    for (int size : {0, 9, 12, 13, 14, 15, 24, 25})
        QTest::addRow("%d bytes", size) << size << QByteArray() << true;
    QTest::newRow("1 character past a chunk") << 9 << QByteArray("Z") << true;
    QTest::newRow("2 characters past a chunk") << 9 << QByteArray("Zm") << false;
    QTest::newRow("3 characters past a chunk") << 9 << QByteArray("Zm8") << false;
    QTest::newRow("padding in the last chunk alone") << 11 << QByteArray() << true;
}

void TestBase64EnDeCode::carriesGroupsAcrossChunks()
{
    QFETCH(int, plainSize);
    QFETCH(QByteArray, extraText);
    QFETCH(bool, decodesToPlain);
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.bin"_s);
    const QString base64 = dir.filePath(u"plain.b64"_s);
    QByteArray bytes(plainSize, Qt::Uninitialized);
    for (int i = 0; i < plainSize; ++i)
        bytes[i] = static_cast<char>(i * 97 + 5);
    QVERIFY(TestFiles::writeAll(plain, bytes));

    constexpr qint64 chunk = 12;
    QVERIFY(Crypto::Base64File::encode(plain, base64, chunk).written);
    QCOMPARE(TestFiles::readAll(base64), bytes.toBase64());
    QVERIFY(TestFiles::writeAll(base64, bytes.toBase64() + extraText));
    QVERIFY(Crypto::Base64File::decode(plain, base64, chunk).written);
    QCOMPARE(TestFiles::readAll(plain), decodesToPlain ? bytes : QByteArray());
}

void TestBase64EnDeCode::encodesHugeFileInBoundedMemory()
{
    // 200 MB of (sparse) input: read whole, it and its Base64 would need some 470 MB more
    // address space than the child is given.
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"sparse.bin"_s);
    const QString base64 = dir.filePath(u"sparse.b64"_s);
    constexpr qint64 size = 200'000'000;
    {
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        const rlimit limit{addressSpaceInUse() + (160 << 20), addressSpaceInUse() + (160 << 20)};
        const bool limited = setrlimit(RLIMIT_AS, &limit) == 0;
        const bool written = limited && CBase64EnDeCode().Base64FileEncode(plain, base64).written;
        _exit(written ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(QFileInfo(base64).size(), (size + 2) / 3 * 4);
}

void TestBase64EnDeCode::decodesShortGroupFileToEmptyFile()
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.txt"_s);
    const QString base64 = dir.filePath(u"plain.b64"_s);
    QVERIFY(TestFiles::writeAll(plain, "old content"));
    QVERIFY(TestFiles::writeAll(base64, "Zm9vYm"));
    CBase64EnDeCode().Base64FileDecode(plain, base64);
    QVERIFY(QFile::exists(plain));
    QCOMPARE(TestFiles::readAll(plain), QByteArray());
}

void TestBase64EnDeCode::skipsMissingFiles()
{
    QTemporaryDir dir;
    const QString absent = dir.filePath(u"absent"_s);
    const QString output = dir.filePath(u"output"_s);
    const CBase64EnDeCode codec;
    codec.Base64FileEncode(absent, output);
    QVERIFY(!QFile::exists(output));
    codec.Base64FileDecode(output, absent);
    QVERIFY(!QFile::exists(output));
}

QTEST_APPLESS_MAIN(TestBase64EnDeCode)
#include "tst_base64endecode.moc"
