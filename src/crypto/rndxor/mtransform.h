#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>

// Text to hexadecimal and back, the carrier form of CRndXorHash ciphertexts. Both functions
// end quietly with the empty text if anything fails inside them.
namespace Crypto::MTransform {

// Each UTF-16 code unit as its low byte and then its high byte, each written as two upper-case
// hexadecimal digits and a space: "A" gives "41 00 ", 6 characters per code unit.
QString STR_to_HEX2(QStringView text);

// STR_to_HEX2 into 6 × units.size() bytes at out, for callers that write the carrier form as
// bytes.
void writeHex2(QStringView units, char *out) noexcept;

// Reverses STR_to_HEX2, spaces or not: after removing every space, each group of four
// characters gives one code unit (low byte pair first). A pair is read by its leading
// hexadecimal digits (either case); one that is missing or starts with another character
// reads as 0, so a short last group still yields a code unit.
QString HEX_to_STR2(QStringView hex);

// HEX_to_STR2 fed piece by piece, for carrier forms read in chunks: the four characters of a
// unit may lie in different pieces.
class Hex2Reader
{
public:
    // Reads the characters and writes the units they complete to out, at most
    // (size + 3) / 4 of them; returns their number.
    std::size_t feed(const char *in, std::size_t size, char16_t *out) noexcept;
    std::size_t feed(QStringView in, char16_t *out) noexcept;
    // The short last group as a unit, if characters of one are left: 0 or 1.
    std::size_t finish(char16_t *out) noexcept;

private:
    template <typename Char>
    std::size_t read(const Char *in, std::size_t size, char16_t *out) noexcept;
    char16_t unit() const noexcept;

    int m_digits[4] = {};
    int m_filled = 0;
};

} // namespace Crypto::MTransform
