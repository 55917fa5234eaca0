#include "net/texthelpers.h"

#include "text/gbk.h"

#include <QRegularExpression>

namespace Net {

QString GBKEncodeURI(QStringView input)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    const QByteArray bytes = Text::toGbk(input);
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

QString preg(const QString &source, const QString &pattern, const QString &replacement)
{
    const QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption);
    if (!expression.isValid())
        return source;
    return QString(source).replace(expression, replacement);
}

QString GetSpecialFolder(int folderId)
{
    Q_UNUSED(folderId);
    return {};
}

} // namespace Net
