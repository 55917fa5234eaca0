#pragma once

#include "cli/context.h"

namespace Cli {

// "harvest [--page N] [--format tsv|json]": harvests one listing page with its detail pass and
// writes the rows to out, the progress to err. Exit codes: Success with at least one row,
// Failure when the page held no entry, BadUsage, ListingFailed when the page could not be
// fetched or was empty, PartlyDone when the rows came but the detail pass stopped (one line on
// err names the row; it and the rows after it have no share code).
int runHarvest(const Context &context);

inline constexpr int ListingFailed = 3;
inline constexpr int PartlyDone = 4;

inline constexpr char kHarvestUsage[] =
    "  harvest [--page N] [--format tsv|json]\n"
    "      harvest listing page N (0..32767, default 0) with the share codes of its entries;\n"
    "      rows on stdout (tsv: number, title, fileCount, shareCode, entryId, extractionCode),\n"
    "      progress on stderr; exit 0 rows, 1 none found, 2 bad usage, 3 listing not fetched,\n"
    "      4 rows printed, share codes missing from the row named on stderr onwards";

} // namespace Cli
