#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The GBK code page (936): the code of every byte that leaves the program.
namespace Text {

// Text to GBK bytes; a character GBK cannot represent becomes "?".
QByteArray toGbk(QStringView text);

// GBK bytes to text; a byte pair that forms no GBK character becomes U+FFFD.
QString fromGbk(QByteArrayView bytes);

// Bytes in a named character set to text; an unknown name decodes as GBK.
QString decode(QByteArrayView bytes, QByteArrayView charsetName);

} // namespace Text
