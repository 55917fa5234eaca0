#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"

namespace Cli {

// The resource library from the command line: search, stats, export, import, forget.
// Exit codes: Success with rows, Failure with none, BadUsage, Unreachable when the library cannot
// be read, Partial when an import skipped bad lines.
int runLibrary(const Context &context);

inline constexpr char kLibrarySynopsis[] =
    "  library search TEXT [--link STATES] [--since DATE] [--source TEXT] [--limit N] [--format jsonl|csv|tsv]\n"
    "      the shares whose titles hold TEXT (\"\" for all), newest first\n"
    "  library stats\n"
    "      how many shares, sightings and runs, and the shares by link state\n"
    "  library export [TEXT] [filters as for search] --output FILE [--format template|csv|jsonl]\n"
    "                 [--template TEXT] [--encoding utf-8|gbk]\n"
    "      write the shares found to FILE (default: template lines)\n"
    "  library import FILE\n"
    "      record the JSON lines of a crawl; a bad line is named and skipped (exit 4)\n"
    "  library forget --before DATE\n"
    "      drop the shares last seen before DATE, and older sightings, checks and runs";

inline constexpr OptionSpec kLibraryOptions[] = {
    {"link", "STATES", "search/export: live,locked,dead,limited,unknown (unknown takes in the never checked)"},
    {"since", "DATE", "search/export: first seen on or after DATE (YYYY-MM-DD or an ISO 8601 time)"},
    {"source", "TEXT", "search/export: seen on a listing page (\"page\", or its number) or for a keyword\n"
                       "(\"keyword\", or the keyword itself), or found by a watch (\"watch\", or\n"
                       "\"watch:NAME\")"},
    {"limit", "N", "search/export: at most N shares"},
    {"hidden", nullptr, "search/export: hidden shares too"},
    {"format", "NAME", "search: jsonl (default), csv or tsv; export: template (default), csv or jsonl"},
    {"output", "FILE", "export: the file written (replaced)"},
    {"template", "TEXT", "export: the line of each share, {title} {url} {code} {files} {sharecode}"},
    {"encoding", "NAME", "export: utf-8 (default) or gbk"},
    {"before", "DATE", "forget: the date before which everything goes"},
};

} // namespace Cli
