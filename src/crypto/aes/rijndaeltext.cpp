// The text forms of cRijndael: GBK bytes enciphered with zero padding, written as grouped
// upper-case hexadecimal, and read back from any text that holds the digits.

#include "crypto/aes/rijndael.h"

#include "crypto/messagesink.h"
#include "crypto/aes/rijndaelerror.h"
#include "text/gbk.h"

#include <array>

using namespace Qt::StringLiterals;

namespace Crypto {

namespace {

constexpr char16_t HexDigits[] = u"0123456789ABCDEF";

// Value of a hexadecimal digit by the low 8 bits of a code unit, -1 for anything else.
constexpr std::array<signed char, 256> nibbleTable()
{
    std::array<signed char, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i)
        table['0' + i] = static_cast<signed char>(i);
    for (int i = 0; i < 6; ++i) {
        table['A' + i] = static_cast<signed char>(10 + i);
        table['a' + i] = static_cast<signed char>(10 + i);
    }
    return table;
}

constexpr std::array<signed char, 256> Nibbles = nibbleTable();

} // namespace

QString cRijndael::StringEncrypt(const QString &source, const QString &password, int blockBits, int keyBits)
{
    if (blockBits < 8)
        raiseRijndaelError(1, "StringEncrypt", u"Illegal BlockBits Value"_s);
    SetCipherKeyString(password, keyBits);
    QByteArray ciphertext;
    ArrayEncrypt(Text::toGbk(source), ciphertext, false);
    return bytesToHexText(ciphertext, blockBits / 8);
}

QString cRijndael::StringDecrypt(const QString &source, const QString &password, int, int keyBits)
{
    const QByteArray key = passwordToKey(password);
    const QByteArray ciphertext = hexTextToBytes(source);
    if (ciphertext.isEmpty()) {
        showMessage(u"错误：非十六进制数据！"_s);
        return {};
    }
    SetCipherKey(key, keyBits);
    QByteArray plaintext;
    if (ArrayDecrypt(plaintext, ciphertext, false) != 0)
        return {};
    return Text::fromGbk(plaintext);
}

QString cRijndael::bytesToHexText(QByteArrayView bytes, qsizetype groupSize)
{
    const qsizetype n = bytes.size();
    if (n == 0)
        return {};
    QString text(2 * n + 2 * ((n - 1) / groupSize), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        if (i != 0 && i % groupSize == 0) {
            *out++ = u' ';
            *out++ = u' ';
        }
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        *out++ = HexDigits[b >> 4];
        *out++ = HexDigits[b & 0x0f];
    }
    return text;
}

QByteArray cRijndael::hexTextToBytes(QStringView text)
{
    QByteArray result(text.size() / 2, Qt::Uninitialized);
    char *out = result.data();
    int high = -1;
    for (const QChar unit : text) {
        const int value = Nibbles[unit.unicode() & 0xff];
        if (value < 0)
            continue;
        if (high < 0) {
            high = value;
        } else {
            *out++ = static_cast<char>((high << 4) | value);
            high = -1;
        }
    }
    result.truncate(out - result.constData());
    return result;
}

} // namespace Crypto
