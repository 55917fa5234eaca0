#pragma once

#include "cli/context.h"

namespace Cli {

// "harvest [--page N] [--format tsv|json] [--raw]": harvests one listing page with its detail pass and
// writes the rows to out, the progress to err. Exit codes as runHarvester's, and BadUsage.
int runHarvest(const Context &context);

inline constexpr char kHarvestUsage[] =
    "  harvest [--page N] [--format tsv|json] [--raw]\n"
    "      harvest listing page N (0..32767, default 0) with the share codes of its entries;\n"
    "      rows on stdout (tsv: number, title, fileCount, shareCode, entryId, extractionCode;\n"
    "      a cell that starts with = + - @ gets a leading ' unless --raw),\n"
    "      progress on stderr; exit 0 rows, 1 none found, 2 bad usage, 3 listing not fetched,\n"
    "      4 detail pass stopped early (rows written, the later ones without share code)";

} // namespace Cli
