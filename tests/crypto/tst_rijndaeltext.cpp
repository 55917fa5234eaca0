// The text forms of cRijndael: known answers, the grouping of the hexadecimal text, the lenient
// reader, the refusals, and the key made from a password.

#include "crypto/ciphererror.h"
#include "support/messagerecorder.h"
#include "crypto/aes/rijndael.h"
#include "support/vectorfile.h"
#include "text/gbk.h"

#include <QRegularExpression>
#include <QTest>

using Crypto::cRijndael;
using namespace Qt::StringLiterals;

namespace {

const QString NotHex = u"错误：非十六进制数据！"_s;
const QString SizeError = u"ciphertext size not a multiple of block size"_s;

// What StringDecrypt gives back for a text: the text and its zero padding.
QString padded(const QString &text)
{
    const qsizetype bytes = Text::toGbk(text).size();
    return text + QString((16 - bytes % 16) % 16, QChar(0));
}

} // namespace

class TestRijndaelText : public QObject
{
    Q_OBJECT

    cRijndael m_aes;

private slots:
    void knownAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("blockBits");
        QTest::addColumn<int>("keyBits");
        QTest::addColumn<QString>("hex");
        const auto records = VectorFile::read(QFINDTESTDATA("data/rijndael.vec"), u"Text"_s);
        QVERIFY(records.size() >= 8);
        for (const VectorFile::Record &r : records)
            QTest::addRow("%s/%s/%s", qPrintable(r[u"Text"_s].left(8)), qPrintable(r[u"BlockBits"_s]),
                          qPrintable(r[u"KeyBits"_s]))
                << r[u"Text"_s] << r[u"Password"_s] << r[u"BlockBits"_s].toInt() << r[u"KeyBits"_s].toInt()
                << r[u"Hex"_s];
    }

    void knownAnswers()
    {
        QFETCH(QString, text);
        QFETCH(QString, password);
        QFETCH(int, blockBits);
        QFETCH(int, keyBits);
        QFETCH(QString, hex);
        QCOMPARE(m_aes.StringEncrypt(text, password, blockBits, keyBits), hex);
        QCOMPARE(m_aes.StringDecrypt(hex, password, blockBits, keyBits), padded(text));
    }

    // Groups of blockBits / 8 bytes, two spaces between them, nothing at either end.
    void grouping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("blockBits");
        QTest::addColumn<QString>("pattern");
        const QString twenty = u"一二三四五六七八九十"_s;
        QTest::newRow("20 bytes at 256") << twenty << 256 << u"[0-9A-F]{64}"_s;
        QTest::newRow("40 bytes at 256") << twenty + twenty << 256 << u"[0-9A-F]{64}  [0-9A-F]{32}"_s;
        QTest::newRow("48 bytes at 128") << QString(48, u'x') << 128 << u"([0-9A-F]{32}  ){2}[0-9A-F]{32}"_s;
        QTest::newRow("17 bytes at 8") << QString(17, u'x') << 8 << u"([0-9A-F]{2}  ){31}[0-9A-F]{2}"_s;
        QTest::newRow("16 bytes at 15") << QString(16, u'x') << 15 << u"[0-9A-F]{2}(  [0-9A-F]{2}){15}"_s;
        QTest::newRow("empty") << QString() << 256 << QString();
    }

    void grouping()
    {
        QFETCH(QString, text);
        QFETCH(int, blockBits);
        QFETCH(QString, pattern);
        const QString hex = m_aes.StringEncrypt(text, u"Quill"_s, blockBits, 256);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(hex).hasMatch(),
                 qPrintable(hex));
    }

    // Each unit counts by its low 8 bits; everything that is no digit is skipped wherever it is.
    void lenientReader_data()
    {
        QTest::addColumn<QString>("variant");
        const QString text = u"资源获取器 V1.0，有二十个以上的字节"_s;
        const QString hex = cRijndael().StringEncrypt(text, u"Quill"_s, 128, 256);
        QTest::newRow("as written") << hex;
        QTest::newRow("lower case") << hex.toLower();
        QTest::newRow("no spaces") << QString(hex).remove(u' ');
        QString junk;
        for (const QChar c : hex)
            junk += c + u"-\n中+"_s;
        QTest::newRow("junk between the digits of a byte") << junk;
        QTest::newRow("U+4E30 as zero") << QString(hex).replace(u'0', QChar(0x4e30));
        QTest::newRow("U+0141 as A") << QString(hex).replace(u'A', QChar(0x0141));
        QTest::newRow("odd digit dropped") << hex + u"F"_s;
    }

    void lenientReader()
    {
        QFETCH(QString, variant);
        MessageRecorder messages;
        const QString text = u"资源获取器 V1.0，有二十个以上的字节"_s;
        QCOMPARE(m_aes.StringDecrypt(variant, u"Quill"_s, 256, 256), padded(text));
        QVERIFY(messages.texts.isEmpty());
    }

    void nothingToDecrypt_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << NotHex;
        QTest::newRow("one digit") << u"A"_s << NotHex;
        QTest::newRow("one digit among others") << u"xyz7 ghij"_s << NotHex;
        QTest::newRow("no digit") << u"中文字符"_s << NotHex;
        QTest::newRow("30 digits") << QString(30, u'3') << SizeError;
        QTest::newRow("34 digits") << QString(34, u'3') << SizeError;
    }

    // No result, one message; a source without a hex byte does not change the key either.
    void nothingToDecrypt()
    {
        QFETCH(QString, source);
        QFETCH(QString, message);
        m_aes.SetCipherKeyString(u"old"_s, 128);
        QByteArray before;
        m_aes.ArrayEncrypt("probe", before, true);

        MessageRecorder messages;
        QCOMPARE(m_aes.StringDecrypt(source, u"new"_s, 256, 256), QString());
        QCOMPARE(messages.texts, QStringList{message});

        QByteArray after;
        m_aes.ArrayEncrypt("probe", after, true);
        QCOMPARE(after == before, message == NotHex);
    }

    void roundTripKeepsPadding_data()
    {
        QTest::addColumn<QString>("text");
        for (int n = 1; n <= 17; ++n)
            QTest::addRow("%d ascii", n) << QString(n, u'q');
        for (int n = 1; n <= 9; ++n)
            QTest::addRow("%d chinese", n) << QString(n, QChar(0x4e2d));
    }

    void roundTripKeepsPadding()
    {
        QFETCH(QString, text);
        MessageRecorder messages;
        const QString hex = m_aes.StringEncrypt(text, u"Quill"_s, 256, 256);
        QCOMPARE(m_aes.StringDecrypt(hex, u"Quill"_s, 256, 256), padded(text));
        QVERIFY(m_aes.StringDecrypt(hex, u"Quil1"_s, 256, 256) != padded(text));
        QVERIFY(messages.texts.isEmpty());
    }

    void blockBitsBelowEight_data()
    {
        QTest::addColumn<int>("blockBits");
        QTest::newRow("7") << 7;
        QTest::newRow("0") << 0;
        QTest::newRow("-256") << -256;
    }

    void blockBitsBelowEight()
    {
        QFETCH(int, blockBits);
        try {
            m_aes.StringEncrypt(u"text"_s, u"Quill"_s, blockBits, 256);
            QFAIL("nothing raised");
        } catch (const Crypto::CipherError &error) {
            QCOMPARE(error.number(), 1);
            QCOMPARE(error.description(), u"cRijndael.StringEncrypt - Illegal BlockBits Value"_s);
        }
    }

    // Only the first 32 GBK bytes of a password count, of which the key size uses 16, 24 or 32.
    void passwordPrefix_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("keyBits");
        QTest::addColumn<bool>("same");
        const QString sixteen = u"十六个汉字正好三十二个字节的密码"_s;
        const QString eight = u"八个汉字十六字节"_s;
        QTest::newRow("same 32 bytes at 256") << sixteen + u"甲"_s << sixteen + u"乙"_s << 256 << true;
        QTest::newRow("byte 32 differs at 256") << eight + eight + u"甲"_s << eight + eight.left(7) + u"乙"_s << 256 << false;
        QTest::newRow("same 16 bytes at 128") << eight + u"甲"_s << eight + u"乙乙"_s << 128 << true;
        QTest::newRow("byte 17 differs at 192") << eight + u"甲"_s << eight + u"乙"_s << 192 << false;
        QTest::newRow("zero extension") << u"abc"_s << u"abc\u0000\u0000"_s << 256 << true;
        QTest::newRow("short passwords") << u"abc"_s << u"abd"_s << 128 << false;
    }

    void passwordPrefix()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, keyBits);
        QFETCH(bool, same);
        const QString a = m_aes.StringEncrypt(u"明文"_s, first, 256, keyBits);
        const QString b = m_aes.StringEncrypt(u"明文"_s, second, 256, keyBits);
        QCOMPARE(a == b, same);
    }
};

QTEST_APPLESS_MAIN(TestRijndaelText)
#include "tst_rijndaeltext.moc"
