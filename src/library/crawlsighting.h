#pragma once

#include "crawl/crawler.h"
#include "library/sharerecord.h"

namespace Library {

// A crawl's written row as the library records it; keyword is the crawl's (empty for pages).
Sighting sightingOf(const Crawl::CrawlRow &row, const QString &keyword);

// "A-B" (or "N") for a crawl of listing pages, else its keyword: the run's subject.
QString crawlSubject(const Crawl::CrawlPlan &plan);

} // namespace Library
