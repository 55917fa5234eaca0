#include "harvest/siteurls.h"

#include <QUrl>

namespace Harvest {

QString listingUrl(const QString &shareSite, qint16 page)
{
    return shareSite + QStringLiteral("act-") + QString::number(page) + QStringLiteral(".html");
}

QString detailUrl(const QString &shareSite, const QString &entryId)
{
    // Path characters of RFC 3986 besides the unreserved ones, which are never encoded.
    static const QByteArray kPathCharacters = QByteArrayLiteral("!$&'()*+,;=:@/");
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(entryId, kPathCharacters));
    return shareSite + QStringLiteral("id-") + encoded + QStringLiteral(".html");
}

} // namespace Harvest
