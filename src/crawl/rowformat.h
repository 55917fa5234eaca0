#pragma once

#include "crawl/crawlrow.h"

#include <QString>

#include <optional>

namespace Crawl {

enum class Format { Jsonl, Csv, Tsv };

// "jsonl", "csv" or "tsv".
std::optional<Format> parseFormat(QStringView name);

// What opens a new output: for CSV the byte-order mark and the header line (link column only
// when links are checked); nothing for the others.
QString outputHead(Format format, bool withLink);

// One row with its line end. The fields, in order: page, number, title, fileCount, shareCode,
// extractionCode, shareUrl and, when the row carries one, link.
// - jsonl: one JSON object per line; page and number are numbers (page null for keyword results).
// - csv: RFC 4180: a field holding a comma, a quote or a line break is quoted, its quotes
//   doubled; lines end in CR LF.
// - tsv: tabs between fields, a tab or line break inside a field becomes one space.
QString formatRow(Format format, const CrawlRow &row);

} // namespace Crawl
