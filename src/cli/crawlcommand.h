#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"
#include "cli/rawflag.h"

namespace Cli {

// "crawl": many listing pages (or one keyword's results) with their detail pages, rows streamed
// to stdout or a file as they are finished. Exit codes: Success when every page was read,
// Failure when the output file cannot be written, BadUsage, Unreachable when no page could
// be read, Partial when some pages or detail pages failed, Stopped after a stop
// signal.
int runCrawl(const Context &context);

inline constexpr char kCrawlSynopsis[] =
    "  crawl [--pages A-B | --pages N | --keyword TEXT] [--format jsonl|csv|tsv] [--raw] [--output FILE [--append]]\n"
    "        [--check-links] [--link-states LIST | --only-live] [--dead-marker TEXT]... [--max-age AGE]\n"
    "        [--recheck] [--delay MS] [--jitter F] [--retries N] [--backoff MS] [--max-retry-after SECONDS]\n"
    "        [--robots obey|ignore] [--concurrency N] [--per-host M] [--new-only] [--stop-after-known N]\n"
    "        [--job NAME | --resume [NAME]] [--replay]\n"
    "  crawl jobs | crawl forget NAME\n"
    "      harvest listing pages A..B (0..32767, default 0) or the results for TEXT (2 characters or\n"
    "      more), one request after the other or N at a time; one row per share (page, number, title, fileCount,\n"
    "      shareCode, extractionCode, shareUrl; link, linkReason, checkedAt when links are checked),\n"
    "      written as soon as its detail page is read,\n"
    "      duplicates skipped. Progress and a summary on stderr; Ctrl-C ends after the requests\n"
    "      in flight, a second at once; exit 0 all read, 4 some pages failed, robots.txt disallowed some\n"
    "      or a host was given up, 3 none read or robots.txt unreadable, 2 bad usage, 1 output not\n"
    "      written, 130 stopped (with the command that resumes a job); --new-only, --stop-after-known\n"
    "      and --job without a library: 2. A job (--job NAME) is kept in the library row by row;\n"
    "      --resume goes on where it stopped, its --output written whole with every row once;\n"
    "      \"crawl jobs\" lists the jobs, \"crawl forget NAME\" drops one";

inline constexpr OptionSpec kCrawlOptions[] = {
    {"pages", "A-B", "listing pages A..B, or one page N"},
    {"keyword", "TEXT", "the results page of TEXT instead of listing pages"},
    {"format", "jsonl|csv|tsv", "jsonl (default), csv (RFC 4180, header, UTF-8 with BOM) or tsv"},
    kRawSpec,
    {"output", "FILE", "write FILE only at the end (normal or stopped)"},
    {"append", nullptr, "add to the --output file instead of replacing it"},
    {"check-links", nullptr, "GET every share link: live, locked (asks for the extraction code), dead\n"
                             "(cancelled, expired, deleted, violation, not_found), limited (429, a captcha,\n"
                             "too many visits) or unknown, by the site profile's links rules; a page that\n"
                             "reads dead is asked again after a pause, two answers that disagree are unknown"},
    {"link-states", "LIST", "write only the rows whose link is in LIST, as live,locked (checks links)"},
    {"only-live", nullptr, "write only the rows whose link is live: --link-states live"},
    {"dead-marker", "TEXT", "one more wording that marks a dead share, reason deleted (repeatable)"},
    {"max-age", "AGE", "an earlier check younger than AGE (seconds, or 30m, 6h, 2d) is taken instead of\n"
                       "asking again, whatever its state (default: an age for each state)"},
    {"recheck", nullptr, "ask every share again, whatever was checked before"},
    {"delay", "MS", "pause between two requests to the same host (default: the crawl-delay setting, 0);\n"
                    "a site profile's minimum delay is the least; doubled after a 429 or\n"
                    "503 (at least 1 s, at most 60 s), eased back after successes"},
    {"jitter", "F", "each pause is (1-F)..(1+F) times the delay, F from 0 to 1 (default 0.5)"},
    {"retries", "N", "retries of a failed transfer, a 429 or a 5xx answer (default 2), other 4xx never"},
    {"backoff", "MS", "first retry wait, doubled each time up to 10 s, with jitter (default 500)"},
    {"concurrency", "N", "requests in flight at once, 1 to 16 (default 1: one after the other); pages,\n"
                         "detail pages and share links are asked ahead, rows still come out in page order"},
    {"per-host", "M", "of which to one host, 1 to 16 (default 2); Qt opens at most 6 connections to one"},
    {"robots", "obey|ignore", "obey (default): read the share site's robots.txt first (rules for vorlen, as\n"
                              "vorlen360 names it, else for *), skip what it disallows, keep its Crawl-delay (up\n"
                              "to 60 s)"},
    {"new-only", nullptr, "write only the shares the library did not hold before (known by share link, or\n"
                          "by entry id: those cost no detail request)"},
    {"stop-after-known", "N", "stop paging once N entries in a row were in the library already (listings\n"
                              "are newest first)"},
    {"job", "NAME", "keep this crawl in the library as job NAME, or go on with job NAME"},
    {"resume", nullptr, "go on with the job named after it, or the unfinished job run last"},
    {"replay", nullptr, "with a job and no --output: print the rows of its earlier runs first"},
    {"max-retry-after", "SECONDS", "longest Retry-After of a 429 or 503 that is waited for (default 120);\n"
                                   "a host asking for more is given up, exit 4"},
};

} // namespace Cli
