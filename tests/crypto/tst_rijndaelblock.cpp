// The AES core of cRijndael on both engines: known answers, OpenSSL as an oracle on random keys
// and blocks, the block form's in-place use, and every refusal of the key and block operations.

#include "crypto/ciphererror.h"
#include "crypto/aes/rijndael.h"
#include "support/raisedby.h"
#include "support/vectorfile.h"

#include <QRandomGenerator>
#include <QTest>

#include <openssl/evp.h>

#include <functional>
#include <memory>

using Crypto::cRijndael;
using namespace Qt::StringLiterals;

namespace {

std::span<const std::uint8_t> view(const QByteArray &a)
{
    return {reinterpret_cast<const std::uint8_t *>(a.constData()), std::size_t(a.size())};
}

std::span<std::uint8_t> view(QByteArray &a)
{
    return {reinterpret_cast<std::uint8_t *>(a.data()), std::size_t(a.size())};
}

// AES-ECB without padding by OpenSSL, the reference the class is held to.
QByteArray openSslEcb(const QByteArray &key, const QByteArray &in, bool encrypt)
{
    const EVP_CIPHER *cipher = key.size() == 16 ? EVP_aes_128_ecb()
                               : key.size() == 24 ? EVP_aes_192_ecb()
                                                  : EVP_aes_256_ecb();
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    const auto *keyBytes = reinterpret_cast<const unsigned char *>(key.constData());
    QByteArray out(in.size() + 16, '\0');
    auto *outBytes = reinterpret_cast<unsigned char *>(out.data());
    int length = 0;
    int tail = 0;
    if (!EVP_CipherInit_ex(ctx.get(), cipher, nullptr, keyBytes, nullptr, encrypt ? 1 : 0)
        || !EVP_CIPHER_CTX_set_padding(ctx.get(), 0)
        || !EVP_CipherUpdate(ctx.get(), outBytes, &length, reinterpret_cast<const unsigned char *>(in.constData()),
                             int(in.size()))
        || !EVP_CipherFinal_ex(ctx.get(), outBytes + length, &tail))
        return {};
    out.truncate(length + tail);
    return out;
}

QByteArray randomBytes(QRandomGenerator &random, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = static_cast<char>(random.bounded(256));
    return bytes;
}

using Engine = cRijndael::Engine;

// One row per engine, each forced; a row whose engine the processor lacks is skipped.
void addEngineRows(const char *name, const std::function<void(QTestData &)> &addColumns)
{
    const std::pair<Engine, const char *> engines[] = {
        {Engine::Portable, "portable"}, {Engine::Hardware, "aes-ni"}, {Engine::Vaes256, "vaes-256"}, {Engine::Vaes512, "vaes-512"}};
    for (const auto &[engine, prefix] : engines)
        addColumns(QTest::addRow("%s %s", prefix, name) << engine);
}

} // namespace

class TestRijndaelBlock : public QObject
{
    Q_OBJECT

private slots:
    void knownAnswers_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        const auto records = VectorFile::read(QFINDTESTDATA("data/rijndael.vec"), u"Block"_s);
        QVERIFY(records.size() >= 4);
        for (const VectorFile::Record &r : records) {
            const QByteArray key = QByteArray::fromHex(r[u"Key"_s].toLatin1());
            const QByteArray name = QByteArray::number(key.size() * 8) + "-bit key #" + QByteArray::number(&r - records.data());
            addEngineRows(name.constData(), [&](QTestData &row) {
                row << key << QByteArray::fromHex(r[u"In"_s].toLatin1()) << QByteArray::fromHex(r[u"Out"_s].toLatin1());
            });
        }
    }

    void knownAnswers()
    {
        QFETCH(Engine, engine);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        cRijndael aes(engine);
        if (aes.engine() != engine)
            QSKIP("this processor lacks the engine's instructions");
        aes.SetCipherKey(key, int(key.size() * 8));

        QByteArray block(16, '\0');
        aes.BlockEncrypt(view(plain), view(block), 0, 0);
        QCOMPARE(block.toHex(), cipher.toHex());
        aes.BlockDecrypt(view(block), view(cipher), 0, 0);
        QCOMPARE(block.toHex(), plain.toHex());

        // In place, at an offset inside a larger array.
        QByteArray framed = "xyz" + plain + "uvw";
        aes.BlockEncrypt(view(framed), view(framed), 3, 3);
        QCOMPARE(framed.toHex(), QByteArray("xyz" + cipher + "uvw").toHex());
    }

    void randomAgainstOpenSsl_data()
    {
        QTest::addColumn<Engine>("engine");
        addEngineRows("random", [](QTestData &) {});
    }

    // Up to 80 blocks per key, so that whole steps of every engine (8 to 32 blocks) and their
    // remainders are covered.
    void randomAgainstOpenSsl()
    {
        QFETCH(Engine, engine);
        cRijndael aes(engine);
        if (aes.engine() != engine)
            QSKIP("this processor lacks the engine's instructions");
        QRandomGenerator random(20240406);
        for (int i = 0; i < 3000; ++i) {
            const int keyBits = 128 + 64 * random.bounded(3);
            const QByteArray key = randomBytes(random, keyBits / 8);
            const QByteArray plain = randomBytes(random, 16 * random.bounded(1, 81));
            aes.SetCipherKey(key, keyBits);

            QByteArray cipher;
            aes.ArrayEncrypt(plain, cipher, false);
            QCOMPARE(cipher.toHex(), openSslEcb(key, plain, true).toHex());
            QByteArray back;
            QCOMPARE(aes.ArrayDecrypt(back, openSslEcb(key, plain, true), false), 0);
            QCOMPARE(back.toHex(), plain.toHex());
            // Decryption of data that no encryption made, against the reference too.
            QCOMPARE(aes.ArrayDecrypt(back, plain, false), 0);
            QCOMPARE(back.toHex(), openSslEcb(key, plain, false).toHex());
        }
    }

    void blockOverlappingItself()
    {
        cRijndael aes;
        aes.SetCipherKeyString(u"overlap"_s, 256);
        const QByteArray original = QByteArray("0123456789abcdefFEDCBA9876543210");
        QByteArray expected(16, '\0');
        aes.BlockEncrypt(view(original), view(expected), 0, 0);

        QByteArray shared = original;
        aes.BlockEncrypt(view(shared), view(shared), 0, 8);
        QCOMPARE(shared.mid(8, 16).toHex(), expected.toHex());
        QCOMPARE(shared.left(8), original.left(8));

        aes.BlockDecrypt(view(shared), view(shared), 0, 8);
        QCOMPARE(shared.left(16), original.left(16));
    }

    void illegalKeyBitsKeepsKey_data()
    {
        QTest::addColumn<int>("keyBits");
        QTest::newRow("64") << 64;
        QTest::newRow("0") << 0;
        QTest::newRow("160") << 160;
        QTest::newRow("512") << 512;
        QTest::newRow("-256") << -256;
    }

    void illegalKeyBitsKeepsKey()
    {
        QFETCH(int, keyBits);
        const QByteArray key(64, 'k');
        const QByteArray plain(16, 'p');
        cRijndael aes;
        aes.SetCipherKey(QByteArray(16, 'o'), 128);
        QByteArray before;
        aes.ArrayEncrypt(plain, before, false);

        QCOMPARE(raisedBy([&] { aes.SetCipherKey(key, keyBits); }),
                 u"1 cRijndael.SetCipherKey - Illegal KeyBits Value"_s);
        QCOMPARE(raisedBy([&] { aes.SetCipherKeyString(u"pass"_s, keyBits); }),
                 u"1 cRijndael.SetCipherKey - Illegal KeyBits Value"_s);
        QByteArray after;
        aes.ArrayEncrypt(plain, after, false);
        QCOMPARE(after.toHex(), before.toHex());
    }

    void refusals_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("expected");
        const QString noKey = u" - no cipher key set"_s;
        QTest::newRow("BlockEncrypt without key") << 0 << u"1 cRijndael.BlockEncrypt"_s + noKey;
        QTest::newRow("BlockDecrypt without key") << 1 << u"1 cRijndael.BlockDecrypt"_s + noKey;
        QTest::newRow("ArrayEncrypt without key") << 2 << u"1 cRijndael.ArrayEncrypt"_s + noKey;
        QTest::newRow("ArrayDecrypt without key") << 3 << u"1 cRijndael.ArrayDecrypt"_s + noKey;
        QTest::newRow("FileEncrypt without key") << 4 << u"1 cRijndael.FileEncrypt"_s + noKey;
        QTest::newRow("FileDecrypt without key") << 5 << u"1 cRijndael.FileDecrypt"_s + noKey;
        const QString shortKey = u"1 cRijndael.SetCipherKey - key array shorter than KeyBits / 8 bytes"_s;
        QTest::newRow("31 key bytes at 256") << 6 << shortKey;
        QTest::newRow("no key bytes at 128") << 7 << shortKey;
        const QString fewer = u" offset leaves fewer than 16 bytes"_s;
        QTest::newRow("plaintext offset 17 of 32") << 8 << u"1 cRijndael.BlockEncrypt - plaintext"_s + fewer;
        QTest::newRow("negative plaintext offset") << 9 << u"1 cRijndael.BlockEncrypt - plaintext"_s + fewer;
        QTest::newRow("ciphertext array of 15") << 10 << u"1 cRijndael.BlockEncrypt - ciphertext"_s + fewer;
        QTest::newRow("ciphertext offset far out") << 11 << u"1 cRijndael.BlockDecrypt - ciphertext"_s + fewer;
        QTest::newRow("plaintext offset 1 of 16") << 12 << u"1 cRijndael.BlockDecrypt - plaintext"_s + fewer;
    }

    void refusals()
    {
        QFETCH(int, operation);
        QFETCH(QString, expected);
        cRijndael aes;
        const bool keyed = operation >= 8;
        if (keyed)
            aes.SetCipherKeyString(u"key"_s, 128);
        QByteArray a(32, 'a');
        QByteArray b(32, 'b');
        QByteArray small(15, 's');
        const std::function<void()> calls[] = {
            [&] { aes.BlockEncrypt(view(a), view(b), 0, 0); },
            [&] { aes.BlockDecrypt(view(a), view(b), 0, 0); },
            [&] { aes.ArrayEncrypt(a, b, true); },
            [&] { aes.ArrayDecrypt(a, b, true); },
            [&] { aes.FileEncrypt(u"in"_s, u"out"_s); },
            [&] { aes.FileDecrypt(u"in"_s, u"out"_s); },
            [&] { aes.SetCipherKey(QByteArray(31, 'k'), 256); },
            [&] { aes.SetCipherKey({}, 128); },
            [&] { aes.BlockEncrypt(view(a), view(b), 17, 0); },
            [&] { aes.BlockEncrypt(view(a), view(b), -1, 0); },
            [&] { aes.BlockEncrypt(view(a), view(small), 0, 0); },
            [&] { aes.BlockDecrypt(view(a), view(b), 0, qsizetype(1) << 62); },
            [&] { aes.BlockDecrypt(std::span(view(a)).first(16), view(b), 1, 0); },
        };
        const QByteArray untouchedA = a;
        const QByteArray untouchedB = b;
        QCOMPARE(raisedBy(calls[operation]), expected);
        QCOMPARE(a, untouchedA);
        QCOMPARE(b, untouchedB);
    }
};

QTEST_APPLESS_MAIN(TestRijndaelBlock)
#include "tst_rijndaelblock.moc"
