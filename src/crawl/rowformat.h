#pragma once

#include "crawl/crawlrow.h"
#include "harvest/tabularoutput.h"

#include <QString>

#include <optional>

namespace Crawl {

enum class Format { Jsonl, Csv, Tsv };

// "jsonl", "csv" or "tsv".
std::optional<Format> parseFormat(QStringView name);

// What opens a new output: for CSV the byte-order mark and the header line (the link's columns
// only when links are checked); nothing for the others.
QString outputHead(Format format, bool withLink);

// One row with its line end. The fields, in order: page, number, title, fileCount, shareCode,
// extractionCode, shareUrl and, when the row carries a link check, link (its state), linkReason
// (the dead reason, else empty) and checkedAt (ISO 8601 UTC, "2024-05-01T08:00:00Z"; empty when
// nothing was asked).
// - jsonl: one JSON object per line; page and number are numbers (page null for keyword results).
// - csv: RFC 4180: a field holding a comma, a quote or a line break is quoted, its quotes
//   doubled; lines end in CR LF. Other control characters become spaces.
// - tsv: tabs between fields, a tab, line break or other control character inside a field
//   becomes one space.
// CSV and TSV fields are spreadsheet cells (Harvest::spreadsheetCell) unless formulas is Raw;
// JSON lines carry every text as it is.
QString formatRow(Format format, const CrawlRow &row, Harvest::Formulas formulas = Harvest::Formulas::Defused);

} // namespace Crawl
