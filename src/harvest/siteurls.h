#pragma once

#include "config/siteprofile.h"

#include <QString>

namespace Harvest {

// Listing pages are numbered 0..kLastPage: the site's page number is a 16-bit signed integer.
inline constexpr qint16 kLastPage = std::numeric_limits<qint16>::max();

// A page number as the user writes it: plain decimal digits in 0..kLastPage.
std::optional<qint16> pageNumber(QStringView text);

// The site's addresses: shareSite (ending with "/") + the profile's template, its placeholder
// replaced.

// The listing page's template with the page number in decimal.
QString listingUrl(const QString &shareSite, const Config::SiteProfile &profile, qint16 page);

// The detail page's template with the identifier as the site wrote it: escapes such as "%20"
// and every character a URL path may hold pass unchanged. The identifier is cut by length and
// may carry page text, so what would break the URL (space, quotes, "<", "?", "#", controls,
// non-ASCII as UTF-8, a "%" that starts no escape) is percent-encoded.
QString detailUrl(const QString &shareSite, const Config::SiteProfile &profile, const QString &entryId);

// The search template with the keyword percent-encoded as the profile says (GBK: every byte).
// The keyword goes out exactly as typed: nothing trimmed, no case change.
QString searchUrl(const QString &shareSite, const Config::SiteProfile &profile, QStringView keyword);

} // namespace Harvest
