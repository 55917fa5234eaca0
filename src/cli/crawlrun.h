#pragma once

#include "cli/context.h"
#include "crawl/crawler.h"
#include "crawl/fetcher.h"
#include "crawl/rowformat.h"
#include "library/crawljob.h"
#include "library/sharerecord.h"

#include <QString>

#include <chrono>
#include <optional>

namespace Library {
class Store;
}

namespace Cli {

// One crawl as the command line asks for it: the crawl command's options, or a watch.
struct CrawlRequest
{
    Crawl::CrawlPlan plan;
    Crawl::Pacing pacing;
    Crawl::Format format = Crawl::Format::Jsonl;
    Harvest::Formulas formulas = Harvest::Formulas::Defused;
    QString output; // empty: stdout
    bool append = false;
    // How earlier checks of share links are taken (Crawl::freshChecks).
    bool recheck = false;
    std::optional<std::chrono::seconds> maxAge;
    // How the library records the run; an empty subject: Library::crawlSubject(plan).
    Library::RunKind runKind = Library::RunKind::Crawl;
    QString runSubject;
    QString name; // starts every line on stderr: "crawl", "watch"
    // A crawl job (--job): kept in the library with its state as it goes; its output file is
    // written whole at the end from the rows of all its runs. Empty: no job.
    QString job;
    bool replay = false; // a job's earlier rows first on stdout
};

// "A-B" or "N", both page numbers (0..32767) and A <= B; false leaves the pages as they were.
bool parsePages(const QString &text, int &firstPage, int &lastPage);

// A request for the endpoints' share site and profile, with their crawl-delay as the pause.
CrawlRequest crawlRequestFor(const Context &context, const QString &name);

struct CrawlResult
{
    int exit = Success;
    Crawl::CrawlSummary summary;
};

// Runs the crawl (resuming request.job from where the library says it is): rows to the output as they come, each then recorded in store (none: nothing
// kept), progress and a summary on stderr, Ctrl-C ending it after the current request. The
// store's fresh link checks stand in for asking again, and with plan.newOnly or
// plan.stopAfterKnown it says which shares are known already (Library::isKnownShare). Exit
// codes as the crawl command's.
CrawlResult runCrawlRequest(const Context &context, const CrawlRequest &request, Library::Store *store);

} // namespace Cli
