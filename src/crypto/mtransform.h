#pragma once

#include <QString>
#include <QStringView>

// Text to hexadecimal and back, the carrier form of CRndXorHash ciphertexts. Both functions
// end quietly with the empty text if anything fails inside them.
namespace Crypto::MTransform {

// Each UTF-16 code unit as its low byte and then its high byte, each written as two upper-case
// hexadecimal digits and a space: "A" gives "41 00 ", 6 characters per code unit.
QString STR_to_HEX2(QStringView text);

// Reverses STR_to_HEX2, spaces or not: after removing every space, each group of four
// characters gives one code unit (low byte pair first). A pair is read by its leading
// hexadecimal digits (either case); one that is missing or starts with another character
// reads as 0, so a short last group still yields a code unit.
QString HEX_to_STR2(QStringView hex);

} // namespace Crypto::MTransform
