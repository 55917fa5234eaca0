#pragma once

#include "text/gbk.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Net {

// The character set of a page: the charset its Content-Type header names, when this program
// knows it, else what the page itself declares (prescanCharset); empty when neither says.
QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body);

// The page body as text in its declared character set; in fallbackCharset when it declares none
// or one this program does not know.
QString decodePage(QByteArrayView contentType, QByteArrayView body, QByteArrayView fallbackCharset = Text::kGbkName);

} // namespace Net
