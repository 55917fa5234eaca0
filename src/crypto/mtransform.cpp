#include "crypto/mtransform.h"

#include "crypto/quietly.h"

namespace Crypto::MTransform {

namespace {

int hexValue(char16_t c) noexcept
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// A pair read by its leading hexadecimal digits; -1 stands for a missing or foreign character.
int pairValue(int high, int low) noexcept
{
    return high < 0 ? 0 : low < 0 ? high : high * 16 + low;
}

template <typename Char>
void writeHex(QStringView units, Char *out) noexcept
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (QChar c : units) {
        const unsigned unit = c.unicode();
        for (const unsigned byte : {unit & 0xFFu, unit >> 8}) {
            *out++ = Char(kDigits[byte >> 4]);
            *out++ = Char(kDigits[byte & 0xF]);
            *out++ = Char(' ');
        }
    }
}

// Skips spaces and reads every four other characters as one unit. Each unit is written only
// after its four characters are read, which is what lets out share in's memory.
template <typename Char>
std::size_t readHex(const Char *in, std::size_t size, char16_t *out) noexcept
{
    int digits[4];
    int filled = 0;
    std::size_t units = 0;
    const auto put = [&] {
        out[units++] = static_cast<char16_t>(pairValue(digits[0], digits[1]) | pairValue(digits[2], digits[3]) << 8);
    };
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<char16_t>(in[i]);
        if (c == u' ')
            continue;
        digits[filled++] = hexValue(c);
        if (filled == 4) {
            put();
            filled = 0;
        }
    }
    if (filled > 0) {
        for (int i = filled; i < 4; ++i)
            digits[i] = -1;
        put();
    }
    return units;
}

} // namespace

QString STR_to_HEX2(QStringView text)
{
    return quietly([text] {
        QString hex(text.size() * 6, Qt::Uninitialized);
        writeHex(text, reinterpret_cast<char16_t *>(hex.data()));
        return hex;
    });
}

void writeHex2(QStringView units, char *out) noexcept
{
    writeHex(units, out);
}

QString HEX_to_STR2(QStringView hex)
{
    return quietly([hex] {
        QString text((hex.size() + 3) / 4, Qt::Uninitialized);
        text.truncate(qsizetype(readHex(hex.utf16(), std::size_t(hex.size()), reinterpret_cast<char16_t *>(text.data()))));
        return text;
    });
}

std::size_t readHex2(const char *in, std::size_t size, char16_t *out) noexcept
{
    return readHex(reinterpret_cast<const unsigned char *>(in), size, out);
}

} // namespace Crypto::MTransform
