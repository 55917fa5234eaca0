#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"

namespace Cli {

// "profile show" prints the compiled-in site profile as JSON, a starting point for a profile
// file. "profile verify [--page N] [--keyword TEXT]" reads the site with the profile in effect
// (verifyProfile). BadUsage for a wrong command line.
int runProfile(const Context &context);

inline constexpr char kProfileSynopsis[] =
    "  profile show\n"
    "      print the built-in site profile as JSON, a starting point for --site-profile FILE\n"
    "  profile verify [--page N] [--keyword TEXT]\n"
    "      read listing page N (default 0), the results for TEXT, up to three of their detail\n"
    "      pages and one share page with the site profile in effect; print each marker's hits,\n"
    "      the entries parsed and the rows that got a share code; exit 0 all found, 5 a marker\n"
    "      or every share code missing, 3 a page not fetched";

inline constexpr OptionSpec kProfileOptions[] = {
    {"page", "N", "verify: the listing page, 0..32767 (default 0)"},
    {"keyword", "TEXT", "verify: the results page of TEXT too"},
};

} // namespace Cli
