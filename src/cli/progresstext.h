#pragma once

#include "crawl/crawler.h"

#include <QString>

namespace Cli {

// The progress bar of a terminal, one line to be redrawn in place (no line end): the bar, page
// x of y, rows, the rows of each link state when links are checked, rows per second and the time still to go.
QString progressBar(const Crawl::CrawlProgress &progress, bool checkLinks);

// The line for the end of a page where no terminal redraws a bar (with its line end).
QString progressLine(const Crawl::CrawlProgress &progress, bool checkLinks);

// The closing line (with its line end): pages read and failed, rows written, duplicates skipped,
// entries the library knew already (when any),
// the rows of each link state, rows robots.txt left without a share code, seconds, and whether a stop ended
// the crawl.
QString summaryLine(const Crawl::CrawlSummary &summary);

} // namespace Cli
