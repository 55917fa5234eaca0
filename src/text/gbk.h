#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

// The GBK code page (936): the code of every byte that leaves the program.
namespace Text {

// The code page's name for the converters and in character-set declarations.
inline constexpr char kGbkName[] = "GBK";

// Text to GBK bytes; a character GBK cannot represent becomes "?".
QByteArray toGbk(QStringView text);

// toGbk() of text in pieces of about 64 Ki units (never between the halves of a surrogate
// pair), each handed to take, for texts too large to hold as GBK twice; stops and returns false
// as soon as take does.
bool toGbkPieces(QStringView text, const std::function<bool(QByteArrayView)> &take);

// GBK bytes to text; a byte pair that forms no GBK character becomes U+FFFD.
QString fromGbk(QByteArrayView bytes);

// Bytes in a named character set to text; an unknown name decodes as GBK.
QString decode(QByteArrayView bytes, QByteArrayView charsetName);

// Whether decode() knows the named character set (GBK it knows everywhere).
bool canDecode(QByteArrayView charsetName);

} // namespace Text
