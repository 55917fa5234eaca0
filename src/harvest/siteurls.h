#pragma once

#include <QString>

namespace Harvest {

// Listing pages are numbered 0..kLastPage: the site's page number is a 16-bit signed integer.
inline constexpr qint16 kLastPage = std::numeric_limits<qint16>::max();

// A page number as the user writes it: plain decimal digits in 0..kLastPage.
std::optional<qint16> pageNumber(QStringView text);

// shareSite + "act-" + page + ".html"; shareSite ends with "/".
QString listingUrl(const QString &shareSite, qint16 page);

// shareSite + "id-" + entryId + ".html", the identifier as the site wrote it: escapes such as
// "%20" and every character a URL path may hold pass unchanged. The identifier is cut by length
// and may carry page text, so what would break the URL (space, quotes, "<", "?", "#", controls,
// non-ASCII as UTF-8, a "%" that starts no escape) is percent-encoded.
QString detailUrl(const QString &shareSite, const QString &entryId);

// shareSite + "?wd=" + every GBK byte of keyword percent-encoded + the fixed tail of the site's
// search form. The keyword goes out exactly as typed: nothing trimmed, no case change.
QString searchUrl(const QString &shareSite, QStringView keyword);

} // namespace Harvest
