#pragma once

#include <QString>

namespace Harvest {

// shareSite + "act-" + page + ".html"; shareSite ends with "/".
QString listingUrl(const QString &shareSite, qint16 page);

// shareSite + "id-" + entryId + ".html". The identifier is cut by length and may carry page
// text (quotes, brackets, spaces), so every character that cannot stand in a URL path is
// percent-encoded: the site sees exactly the identifier in the decoded path.
QString detailUrl(const QString &shareSite, const QString &entryId);

} // namespace Harvest
