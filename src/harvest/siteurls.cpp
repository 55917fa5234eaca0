#include "harvest/siteurls.h"

#include "text/percentencoding.h"
#include "text/wholenumber.h"

#include <QByteArray>
#include <QUrl>

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

QString filled(const QString &shareSite, QString address, QStringView placeholder, const QString &value)
{
    return shareSite + address.replace(placeholder.data(), placeholder.size(), value.constData(), value.size());
}

} // namespace

std::optional<qint16> pageNumber(QStringView text)
{
    const std::optional<qint64> page = Text::wholeNumber(text, 5, 0, kLastPage);
    return page ? std::optional<qint16>(static_cast<qint16>(*page)) : std::nullopt;
}

QString listingUrl(const QString &shareSite, const Config::SiteProfile &profile, qint16 page)
{
    return filled(shareSite, profile.listingUrl, Config::kPagePlaceholder, QString::number(page));
}

QString detailUrl(const QString &shareSite, const Config::SiteProfile &profile, const QString &entryId)
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
    return filled(shareSite, profile.detailUrl, Config::kIdPlaceholder, QString::fromLatin1(path));
}

QString searchUrl(const QString &shareSite, const Config::SiteProfile &profile, QStringView keyword)
{
    const QString encoded = profile.keywordEncoding == Config::KeywordEncoding::Gbk
        ? Text::percentEncodeGbk(keyword)
        : QString::fromLatin1(QUrl::toPercentEncoding(keyword.toString()));
    return filled(shareSite, profile.searchUrl, Config::kKeywordPlaceholder, encoded);
}

} // namespace Harvest
