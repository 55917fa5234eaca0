#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"

namespace Cli {

// "watch": saved incremental crawls in the library, run by hand or by a timer (watch run --all).
// Exit codes of run: Success when a watch found new shares, Failure when none did (or none was
// due), BadUsage, Unreachable without a library or when a watch read no page, Stopped.
int runWatch(const Context &context);

inline constexpr char kWatchSynopsis[] =
    "  watch add NAME (--keyword TEXT | --pages A-B) [--every INTERVAL] [--check-links]\n"
    "      save a watch of TEXT's results or of listing pages A..B, due every INTERVAL (90, 30m, 6h,\n"
    "      2d; default 6h, at least 30m); a watch of that name is changed\n"
    "  watch list\n"
    "      name, what, interval, last run, new shares then, due or not (tab-separated)\n"
    "  watch remove NAME\n"
    "  watch run [NAME | --all]\n"
    "      run the watch NAME, or every due watch, as a crawl of the shares the library did not hold\n"
    "      (its paging stops after 30 known entries in a row); the new rows as JSON lines on stdout,\n"
    "      one line per watch on stderr (\"3 new shares for pages 0-2\"); exit 0 new shares, 1 none,\n"
    "      3 a watch read no page";

inline constexpr OptionSpec kWatchOptions[] = {
    {"keyword", "TEXT", "add: watch the results of TEXT (2 characters or more)"},
    {"pages", "A-B", "add: watch listing pages A..B, or one page N"},
    {"every", "INTERVAL", "add: how often the watch is due (default 6h, at least 30m)"},
    {"check-links", nullptr, "add: check the share link of every new share"},
    {"all", nullptr, "run: every watch that is due"},
};

} // namespace Cli
