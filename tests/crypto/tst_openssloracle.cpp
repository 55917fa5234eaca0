// Random buffers of every awkward length through our MD5 and Base64 kernels and through
// OpenSSL; the two must agree to the byte.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "crypto/base64/base64kernel.h"
#include "crypto/md5/md5encrypt.h"

#include <openssl/evp.h>
#include <openssl/md5.h>

#include <QTest>

#include <random>
#include <vector>

using namespace Qt::StringLiterals;
namespace Base64Kernel = Crypto::Base64Kernel;

namespace {

std::vector<unsigned char> randomBytes(std::size_t size, std::mt19937 &generator)
{
    std::vector<unsigned char> bytes(size);
    for (unsigned char &byte : bytes)
        byte = static_cast<unsigned char>(generator());
    return bytes;
}

// Lengths around every block and group boundary, then a few large ones.
std::vector<std::size_t> lengths()
{
    std::vector<std::size_t> result;
    for (std::size_t n = 0; n <= 200; ++n)
        result.push_back(n);
    for (std::size_t n : {1000u, 4095u, 4096u, 65535u, 65536u, 65537u, 1000003u})
        result.push_back(n);
    return result;
}

QString opensslMd5(const std::vector<unsigned char> &bytes)
{
    unsigned char digest[MD5_DIGEST_LENGTH];
    MD5(bytes.data(), bytes.size(), digest);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), MD5_DIGEST_LENGTH).toHex().toUpper());
}

} // namespace

class TestOpenSslOracle : public QObject
{
    Q_OBJECT

private slots:
    void md5MatchesOpenSsl();
    void base64EncodeMatchesOpenSsl();
    void base64DecodeMatchesOpenSsl();
};

void TestOpenSslOracle::md5MatchesOpenSsl()
{
    std::mt19937 generator(1321);
    Crypto::CMD5Encrypt md5;
    for (std::size_t n : lengths()) {
        const auto bytes = randomBytes(n, generator);
        const QByteArrayView view(bytes.data(), static_cast<qsizetype>(n));
        md5.MD5Init();
        // In two uneven pieces, to cross the buffered path as well.
        const qsizetype split = static_cast<qsizetype>(n / 3);
        md5.MD5Update(split, view);
        md5.MD5Update(view.size() - split, view.sliced(split));
        md5.MD5Final();
        QCOMPARE(md5.GetValues(), opensslMd5(bytes));
    }
}

void TestOpenSslOracle::base64EncodeMatchesOpenSsl()
{
    std::mt19937 generator(4648);
    for (std::size_t n : lengths()) {
        const auto bytes = randomBytes(n, generator);
        std::vector<unsigned char> expected(Base64Kernel::encodedSize(n) + 1);
        const int written = EVP_EncodeBlock(expected.data(), bytes.data(), static_cast<int>(n));
        std::vector<char> actual(Base64Kernel::encodedSize(n));
        Base64Kernel::encode(bytes.data(), n, actual.data());
        QCOMPARE(static_cast<std::size_t>(written), actual.size());
        QVERIFY(std::equal(actual.begin(), actual.end(), expected.begin()));
    }
}

void TestOpenSslOracle::base64DecodeMatchesOpenSsl()
{
    std::mt19937 generator(4649);
    for (std::size_t n : lengths()) {
        const auto bytes = randomBytes(n, generator);
        std::vector<unsigned char> text(Base64Kernel::encodedSize(n) + 1);
        EVP_EncodeBlock(text.data(), bytes.data(), static_cast<int>(n));
        const std::size_t groups = (text.size() - 1) / 4;

        // OpenSSL, too, writes the padding as zero bytes: all 3 × groups bytes compare.
        std::vector<unsigned char> expected(3 * groups + 1);
        const int written = EVP_DecodeBlock(expected.data(), text.data(), static_cast<int>(4 * groups));
        QCOMPARE(static_cast<std::size_t>(written), 3 * groups);
        std::vector<unsigned char> actual(3 * groups);
        Base64Kernel::decodeGroups(text.data(), groups, actual.data());
        QVERIFY(std::equal(actual.begin(), actual.end(), expected.begin()));
        QVERIFY(std::equal(bytes.begin(), bytes.end(), actual.begin()));
    }
}

QTEST_APPLESS_MAIN(TestOpenSslOracle)
#include "tst_openssloracle.moc"
