#pragma once

#include "crawl/fetcher.h"
#include "crawl/linkstate.h"

#include <QString>
#include <QStringList>

namespace Crawl {

// What the answer to a GET of a share link says of the share: dead on 404 or 410, or when the
// body holds one of markers (whatever the status); unknown when no answer came, on a 5xx or a
// 429 (the server's trouble says nothing of the share) or on an empty body; live otherwise.
LinkState classifyShare(const Answer &answer, const QStringList &markers);

} // namespace Crawl
