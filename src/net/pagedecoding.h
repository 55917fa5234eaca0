#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Net {

// The character set a page declares: the charset parameter of its Content-Type header first,
// then a <meta> charset in the first 2048 bytes; empty when it declares none.
QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body);

// The page body as text in its declared character set; GBK when it declares none or one this
// program does not know.
QString decodePage(QByteArrayView contentType, QByteArrayView body);

} // namespace Net
