#pragma once

#include <QByteArray>
#include <QByteArrayView>

// How a page's bytes say which character set they are written in. Pure functions on bytes.
namespace Net {

// The charset parameter of a Content-Type value ("text/html; charset=gbk" gives "gbk"), as
// written but for case and quotes; empty when there is none or its quote is left open.
QByteArray charsetParameter(QByteArrayView contentType);

// The lower-case name when this program can decode that character set, else empty.
QByteArray knownCharset(QByteArrayView name);

// The character set the page declares, read the way browsers prescan a page's first 1024 bytes:
// only a <meta charset=...> or a <meta http-equiv="Content-Type" content="...charset=...">
// counts; comments, other elements and their attributes are skipped, as is a declaration of a
// set this program does not know. A declared UTF-16 or UTF-32 reads as UTF-8 (the declaration
// was legible as ASCII, so the page is in neither). Empty when nothing usable is declared.
QByteArray prescanCharset(QByteArrayView page);

} // namespace Net
