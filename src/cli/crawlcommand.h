#pragma once

#include "cli/context.h"

namespace Cli {

// "crawl": many listing pages (or one keyword's results) with their detail pages, rows streamed
// to stdout or a file as they are finished. Exit codes: Success when every page was read,
// Failure when the output file cannot be written, BadUsage, Unreachable when no page could
// be read, Partial when some pages or detail pages failed, Stopped after a stop
// signal.
int runCrawl(const Context &context);

inline constexpr char kCrawlUsage[] =
    "  crawl [--pages A-B | --pages N | --keyword TEXT] [--format jsonl|csv|tsv] [--raw] [--output FILE [--append]]\n"
    "        [--check-links [--only-live] [--dead-marker TEXT]...] [--delay MS] [--retries N] [--backoff MS]\n"
    "      harvest listing pages A..B (0..32767, default 0) or the results for TEXT (2 characters or\n"
    "      more), one request after the other; one row per share (page, number, title, fileCount,\n"
    "      shareCode, extractionCode, shareUrl, link), written as soon as its detail page is read,\n"
    "      duplicates skipped.\n"
    "      --format        jsonl (default), csv (RFC 4180, header, UTF-8 with BOM) or tsv\n"
    "      --raw           csv and tsv cells as the site sent them; by default one that starts with\n"
    "                      = + - @, a tab or a CR gets a leading ' so a spreadsheet runs no formula\n"
    "      --output        write FILE only at the end (normal or stopped); --append adds to it\n"
    "      --check-links   GET every share link: live, dead (404, 410, a dead-share wording) or unknown\n"
    "      --dead-marker   one more wording that marks a dead share (repeatable)\n"
    "      --only-live     write only the rows whose link is live\n"
    "      --delay MS      pause between two requests to the same host (default 0)\n"
    "      --retries N     retries of a failed transfer or a 5xx answer (default 2), 4xx never\n"
    "      --backoff MS    first retry wait, doubled each time up to 10 s, with jitter (default 500)\n"
    "      progress and a summary on stderr; Ctrl-C ends after the current request, a second at once;\n"
    "      exit 0 all read, 4 some pages failed, 3 none read, 2 bad usage, 1 output not written, 130 stopped";

} // namespace Cli
