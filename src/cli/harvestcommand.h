#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"
#include "cli/harvestrun.h"
#include "cli/rawflag.h"

namespace Cli {

// "harvest [--page N] [--format tsv|json] [--raw]": harvests one listing page with its detail pass and
// writes the rows to out, the progress to err. Exit codes as runHarvester's, and BadUsage.
int runHarvest(const Context &context);

inline constexpr char kHarvestSynopsis[] =
    "  harvest [--page N] [--format tsv|json] [--raw]\n"
    "      harvest listing page N (0..32767, default 0) with the share codes of its entries;\n"
    "      rows on stdout (tsv: number, title, fileCount, shareCode, entryId, extractionCode),\n"
    "      progress on stderr; exit 0 rows, 1 none found, 2 bad usage, 3 listing not fetched,\n"
    "      4 detail pass stopped early (rows written, the later ones without share code)";

inline constexpr OptionSpec kHarvestOptions[] = {
    {"page", "N", "the listing page, 0..32767 (default 0)"},
    kRowFormatSpec,
    kRawSpec,
};

} // namespace Cli
