#include "text/percentencoding.h"

#include "text/gbk.h"

namespace Text {

QString percentEncodeGbk(QStringView input)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    const QByteArray bytes = toGbk(input);
    QString encoded(bytes.size() * 3, Qt::Uninitialized);
    QChar *out = encoded.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = u'%';
        *out++ = QLatin1Char(kHexDigits[value >> 4]);
        *out++ = QLatin1Char(kHexDigits[value & 0x0F]);
    }
    return encoded;
}

} // namespace Text
