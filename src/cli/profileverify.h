#pragma once

#include "config/endpoints.h"

#include <QString>
#include <QTextStream>

namespace Cli {

// Reads the share-search site with endpoints' profile: listing page `page`, the results page of
// keyword (when not empty), the detail pages of the first three entries they gave and the share
// page of the first share code. Prints on out how often each entry marker stands on each page,
// the entries parsed, the share-link marker's hits and the share code of every detail page, and
// the rows that got one; a page the profile does not recognise (Harvest::isUnrecognisedPage)
// adds the layout-change hint on err. Returns Success when every marker and a share code were
// found, NotUnderstood when not, Unreachable when a page did not come.
int verifyProfile(const Config::Endpoints &endpoints, qint16 page, const QString &keyword, QTextStream &out,
                  QTextStream &err);

} // namespace Cli
