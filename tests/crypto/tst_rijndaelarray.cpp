// The array forms of cRijndael: zero padding with and without the length field, and what the
// decryption makes of wrong sizes and wrong length fields.

#include "support/messagerecorder.h"
#include "crypto/aes/rijndael.h"

#include <QTest>

using Crypto::cRijndael;
using namespace Qt::StringLiterals;

namespace {

QByteArray counting(qsizetype n)
{
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(0xa0 + i);
    return bytes;
}

} // namespace

class TestRijndaelArray : public QObject
{
    Q_OBJECT

    cRijndael m_aes;

    // What a ciphertext deciphers to with nothing cut off.
    QByteArray raw(const QByteArray &cipher)
    {
        QByteArray plain;
        m_aes.ArrayDecrypt(plain, cipher, false);
        return plain;
    }

private slots:
    void init() { m_aes.SetCipherKeyString(u"数组"_s, 256); }

    // Every length up to two blocks and one: size, layout of the padding, and the round trip.
    void lengthFieldLayout_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 0; n <= 33; ++n)
            QTest::addRow("%d bytes", n) << n;
    }

    void lengthFieldLayout()
    {
        QFETCH(int, n);
        const QByteArray plain = counting(n);
        QByteArray cipher;
        QCOMPARE(m_aes.ArrayEncrypt(plain, cipher, true), 0);
        QCOMPARE(cipher.size(), 16 * (n / 16 + 1));

        QByteArray expected = plain + QByteArray(cipher.size() - n - 1, '\0');
        expected.append(static_cast<char>(n % 16));
        QCOMPARE(raw(cipher).toHex(), expected.toHex());

        QByteArray back("stale");
        QCOMPARE(m_aes.ArrayDecrypt(back, cipher, true), 0);
        QCOMPARE(back.toHex(), plain.toHex());
    }

    void withoutLengthField_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("cipherSize");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("1") << 1 << 16;
        QTest::newRow("16") << 16 << 16;
        QTest::newRow("17") << 17 << 32;
        QTest::newRow("32") << 32 << 32;
    }

    void withoutLengthField()
    {
        QFETCH(int, n);
        QFETCH(int, cipherSize);
        QByteArray cipher("stale");
        QCOMPARE(m_aes.ArrayEncrypt(counting(n), cipher, false), 0);
        QCOMPARE(cipher.size(), cipherSize);
        QByteArray back;
        QCOMPARE(m_aes.ArrayDecrypt(back, cipher, false), 0);
        QCOMPARE(back.toHex(), QByteArray(counting(n) + QByteArray(cipherSize - n, '\0')).toHex());
    }

    void sameArrayInAndOut()
    {
        QByteArray data = counting(21);
        QByteArray separate;
        m_aes.ArrayEncrypt(data, separate, true);
        m_aes.ArrayEncrypt(data, data, true);
        QCOMPARE(data.toHex(), separate.toHex());
        QCOMPARE(m_aes.ArrayDecrypt(data, data, true), 0);
        QCOMPARE(data.toHex(), counting(21).toHex());
    }

    void sizeRefused_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("lengthField");
        QTest::newRow("20 with length field") << 20 << true;
        QTest::newRow("20 without") << 20 << false;
        QTest::newRow("15") << 15 << false;
        QTest::newRow("33") << 33 << true;
        QTest::newRow("0 with length field") << 0 << true;
    }

    void sizeRefused()
    {
        QFETCH(int, size);
        QFETCH(bool, lengthField);
        MessageRecorder messages;
        QByteArray plain("untouched");
        QCOMPARE(m_aes.ArrayDecrypt(plain, QByteArray(size, 'c'), lengthField), -1);
        QCOMPARE(plain, QByteArray("untouched"));
        QCOMPARE(messages.texts, QStringList{u"ciphertext size not a multiple of block size"_s});
    }

    void emptyWithoutLengthField()
    {
        MessageRecorder messages;
        QByteArray plain("stale");
        QCOMPARE(m_aes.ArrayDecrypt(plain, {}, false), 0);
        QVERIFY(plain.isEmpty());
        QVERIFY(messages.texts.isEmpty());
    }

    // The last deciphered byte decides: up to 15 cuts, anything above warns and keeps all.
    void lengthFieldValue_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("result");
        QTest::newRow("0") << 0 << 16 << 0;
        QTest::newRow("15") << 15 << 31 << 0;
        QTest::newRow("16") << 16 << 32 << 1;
        QTest::newRow("255") << 255 << 32 << 1;
    }

    void lengthFieldValue()
    {
        QFETCH(int, field);
        QFETCH(int, kept);
        QFETCH(int, result);
        QByteArray plain = counting(32);
        plain[31] = static_cast<char>(field);
        QByteArray cipher;
        m_aes.ArrayEncrypt(plain, cipher, false);

        MessageRecorder messages;
        QByteArray back;
        QCOMPARE(m_aes.ArrayDecrypt(back, cipher, true), result);
        QCOMPARE(back.toHex(), plain.left(kept).toHex());
        QCOMPARE(messages.texts, result ? QStringList{u"warning - incorrect length field"_s} : QStringList{});
    }
};

QTEST_APPLESS_MAIN(TestRijndaelArray)
#include "tst_rijndaelarray.moc"
