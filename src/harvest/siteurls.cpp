#include "harvest/siteurls.h"

#include "text/percentencoding.h"
#include "text/wholenumber.h"

#include <QByteArray>

using namespace Qt::StringLiterals;

namespace Harvest {

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// What RFC 3986 lets a path segment hold as it is: unreserved characters, sub-delimiters,
// ":", "@" and "/".
bool standsInPath(char c)
{
    static constexpr QByteArrayView kMarks = "-._~!$&'()*+,;=:@/";
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || kMarks.contains(c);
}

} // namespace

std::optional<qint16> pageNumber(QStringView text)
{
    const std::optional<qint64> page = Text::wholeNumber(text, 5, 0, kLastPage);
    return page ? std::optional<qint16>(static_cast<qint16>(*page)) : std::nullopt;
}

QString listingUrl(const QString &shareSite, qint16 page)
{
    return shareSite + u"act-"_s + QString::number(page) + u".html"_s;
}

QString detailUrl(const QString &shareSite, const QString &entryId)
{
    const QByteArray bytes = entryId.toUtf8();
    QByteArray path;
    path.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const bool escape = c == '%' && i + 2 < bytes.size() && isHexDigit(bytes[i + 1]) && isHexDigit(bytes[i + 2]);
        if (standsInPath(c) || escape) {
            path += c;
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            path += '%';
            path += kHex[static_cast<unsigned char>(c) >> 4];
            path += kHex[static_cast<unsigned char>(c) & 0xF];
        }
    }
    return shareSite + u"id-"_s + QLatin1StringView(path) + u".html"_s;
}

QString searchUrl(const QString &shareSite, QStringView keyword)
{
    // submit.x/y are where the form's image button was clicked; submit is 开始搜索 in GBK.
    return shareSite + u"?wd="_s + Text::percentEncodeGbk(keyword)
        + u"&submit.x=49&submit.y=14&submit=%BF%AA%CA%BC%CB%D1%CB%F7"_s;
}

} // namespace Harvest
