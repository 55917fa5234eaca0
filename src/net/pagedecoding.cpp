#include "net/pagedecoding.h"

#include "net/charsetprescan.h"
#include "text/gbk.h"

namespace Net {

QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body)
{
    const QByteArray charset = knownCharset(charsetParameter(contentType));
    return charset.isEmpty() ? prescanCharset(body) : charset;
}

QString decodePage(QByteArrayView contentType, QByteArrayView body, QByteArrayView fallbackCharset)
{
    QByteArray charset = declaredCharset(contentType, body);
    // An undeclared page in GBK keeps to the GBK decoder's own path (an empty name).
    if (charset.isEmpty() && fallbackCharset.compare(Text::kGbkName, Qt::CaseInsensitive) != 0)
        charset = fallbackCharset.toByteArray();
    // Pages that say gb2312 are written by GBK editors; GBK is its superset.
    if (charset == "gb2312" || charset == "x-gbk" || charset == "cp936")
        charset = "GBK";
    return Text::decode(body, charset);
}

} // namespace Net
