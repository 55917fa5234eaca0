#pragma once

#include "crawl/linkcheck.h"
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
    std::optional<LinkState> link;  // set when links are checked
};

} // namespace Crawl
