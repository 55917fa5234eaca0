#pragma once

#include <QByteArrayView>
#include <QString>

namespace Text {

// Bytes to text by the GBK pairing rule: a byte of 0x80 or more and the byte after it form one
// character, whatever that byte is; every other byte is one character. A pair that is no GBK
// character, and a lead byte with no byte after it, become U+FFFD. Decoding stops before the
// first zero byte that stands as a character of its own.
QString decodeGbkPairs(QByteArrayView bytes);

} // namespace Text
