#pragma once

#include "crawl/linkstate.h"
#include "harvest/resourceentry.h"

#include <QString>

#include <optional>

namespace Crawl {

// One written row of a crawl.
struct CrawlRow
{
    std::optional<int> page; // the listing page; none for keyword results
    Harvest::ResourceEntry entry;
    QString shareUrl;               // share-link prefix + share code; empty when the code is
    // Set when links are checked; for a row without a share code unknown, without a time.
    std::optional<LinkCheck> link;
};

} // namespace Crawl
