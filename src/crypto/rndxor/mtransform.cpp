#include "crypto/rndxor/mtransform.h"

#include "crypto/quietly.h"

#include <array>
#include <cstdint>

namespace Crypto::MTransform {

namespace {

constexpr int kForeign = -1;

// Digit values of the first 256 characters: 0..15, or kForeign.
constexpr std::array<std::int8_t, 256> kDigitValues = [] {
    std::array<std::int8_t, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[c] = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : kForeign;
    return values;
}();

int hexValue(char16_t c) noexcept
{
    return c < kDigitValues.size() ? kDigitValues[c] : kForeign;
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
        auto *units = reinterpret_cast<char16_t *>(text.data());
        Hex2Reader reader;
        const std::size_t read = reader.feed(hex, units);
        text.truncate(qsizetype(read + reader.finish(units + read)));
        return text;
    });
}

// Skips spaces and reads every four other characters as one unit. Each unit is written only
// after its four characters are read.
template <typename Char>
std::size_t Hex2Reader::read(const Char *in, std::size_t size, char16_t *out) noexcept
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < size; ++i) {
        // The layout STR_to_HEX2 writes, "HH HH ", read at once.
        if (m_filled == 0 && size - i >= 6 && in[i + 2] == ' ' && in[i + 5] == ' ') {
            const int d0 = hexValue(in[i]), d1 = hexValue(in[i + 1]), d3 = hexValue(in[i + 3]), d4 = hexValue(in[i + 4]);
            if ((d0 | d1 | d3 | d4) >= 0) {
                out[units++] = static_cast<char16_t>((d0 << 4 | d1) | (d3 << 4 | d4) << 8);
                i += 5;
                continue;
            }
        }
        const auto c = static_cast<char16_t>(in[i]);
        if (c == u' ')
            continue;
        m_digits[m_filled++] = hexValue(c);
        if (m_filled == 4) {
            out[units++] = unit();
            m_filled = 0;
        }
    }
    return units;
}

std::size_t Hex2Reader::feed(const char *in, std::size_t size, char16_t *out) noexcept
{
    return read(reinterpret_cast<const unsigned char *>(in), size, out);
}

std::size_t Hex2Reader::feed(QStringView in, char16_t *out) noexcept
{
    return read(in.utf16(), std::size_t(in.size()), out);
}

std::size_t Hex2Reader::finish(char16_t *out) noexcept
{
    if (m_filled == 0)
        return 0;
    for (int i = m_filled; i < 4; ++i)
        m_digits[i] = -1;
    m_filled = 0;
    *out = unit();
    return 1;
}

char16_t Hex2Reader::unit() const noexcept
{
    return static_cast<char16_t>(pairValue(m_digits[0], m_digits[1]) | pairValue(m_digits[2], m_digits[3]) << 8);
}

} // namespace Crypto::MTransform
