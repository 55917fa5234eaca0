#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"
#include "cli/harvestrun.h"
#include "cli/rawflag.h"

namespace Cli {

// "search KEYWORD [--format tsv|json] [--raw]": searches the share site for KEYWORD, sent exactly as
// given, and writes the rows of its results page with their share codes as harvest does. An
// empty keyword or one of fewer than two characters is refused (BadUsage, the refusal on err).
int runSearch(const Context &context);

inline constexpr char kSearchSynopsis[] =
    "  search KEYWORD [--format tsv|json] [--raw]\n"
    "      search the share site for KEYWORD (at least two characters, sent as given; put \"--\"\n"
    "      before a keyword that starts with \"--\"); rows and exit codes as harvest, 1 meaning\n"
    "      the results page held no entry";

inline constexpr OptionSpec kSearchOptions[] = {kRowFormatSpec, kRawSpec};

} // namespace Cli
