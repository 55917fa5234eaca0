#include "cli/crawlrun.h"

#include "cli/crawljobs.h"
#include "cli/progresstext.h"
#include "cli/stopsignals.h"
#include "cli/terminal.h"
#include "crawl/linkcache.h"
#include "crawl/outputfile.h"
#include "crawl/stopswitch.h"
#include "harvest/entryparser.h"
#include "harvest/siteurls.h"
#include "library/crawlsighting.h"
#include "library/knownshares.h"
#include "library/recorder.h"
#include "library/store.h"
#include "text/printable.h"

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

constexpr auto kBarRedraw = std::chrono::milliseconds(100);

// Progress on err: a bar redrawn in place on a terminal, else one line per page.
class ProgressPrinter
{
public:
    ProgressPrinter(QTextStream &err, bool checkLinks) : m_err(err), m_terminal(isTerminal(err)), m_checkLinks(checkLinks) {}

    void show(const Crawl::CrawlProgress &progress)
    {
        if (!m_terminal) {
            if (progress.pageEnded)
                print(progressLine(progress, m_checkLinks));
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (!progress.pageEnded && now - m_lastDrawn < kBarRedraw)
            return;
        m_lastDrawn = now;
        print(u'\r' + progressBar(progress, m_checkLinks) + u"\x1b[K"_s);
        m_barShown = true;
    }

    // A line of its own, below the bar when one is shown.
    void print(const QString &text)
    {
        if (m_barShown && !text.startsWith(u'\r')) {
            m_err << '\n';
            m_barShown = false;
        }
        m_err << text;
        m_err.flush();
    }

private:
    QTextStream &m_err;
    bool m_terminal;
    bool m_checkLinks;
    bool m_barShown = false;
    std::chrono::steady_clock::time_point m_lastDrawn;
};

int exitCode(const Crawl::CrawlSummary &summary)
{
    if (summary.stopped)
        return Stopped;
    if (!summary.robotsUnreadable.isEmpty())
        return Unreachable;
    if (!summary.hostsGivenUp.isEmpty()) // the crawl ended early on purpose, whatever it read
        return Partial;
    if (summary.pagesRead == 0)
        return Unreachable;
    return summary.pagesFailed > 0 || summary.detailsFailed > 0 || summary.disallowed > 0 ? Partial : Success;
}

} // namespace

bool parsePages(const QString &text, int &firstPage, int &lastPage)
{
    const qsizetype dash = text.indexOf(u'-');
    const auto first = Harvest::pageNumber(dash < 0 ? text : text.left(dash));
    const auto last = dash < 0 ? first : Harvest::pageNumber(text.mid(dash + 1));
    if (!first || !last || *first > *last)
        return false;
    firstPage = static_cast<int>(*first);
    lastPage = static_cast<int>(*last);
    return true;
}

CrawlRequest crawlRequestFor(const Context &context, const QString &name)
{
    CrawlRequest request;
    request.name = name;
    request.plan.shareSite = context.endpoints.shareSite;
    request.plan.sharePrefix = context.endpoints.sharePrefix;
    request.plan.profile = context.endpoints.profile;
    request.pacing.delay = context.endpoints.crawlDelay; // the crawl-delay setting, unless --delay says otherwise
    return request;
}

CrawlResult runCrawlRequest(const Context &context, const CrawlRequest &request, Library::Store *store)
{
    const QString prefix = request.name + u": "_s;
    Crawl::OutputFile file;
    const bool toFile = !request.output.isEmpty();
    if (toFile) {
        const QString why = file.open(request.output, request.append);
        if (!why.isEmpty()) {
            context.err << prefix << "cannot write " << request.output << ": " << why << '\n';
            return {Failure, {}};
        }
    }
    const auto write = [&](const QString &text) {
        if (toFile)
            return file.write(text);
        context.out << text;
        context.out.flush();
        return context.out.status() == QTextStream::Ok;
    };
    const bool isJob = !request.job.isEmpty() && store;
    Library::JobState job = isJob ? Library::loadJobState(*store, request.job) : Library::JobState();
    Crawl::CrawlPlan plan = request.plan;
    plan.resume = job.resume;
    const QString head = Crawl::outputHead(request.format, request.plan.linksChecked());
    // A job's file is written whole at the end, from the rows the library kept of every run.
    const bool writtenAtEnd = isJob && toFile;
    if (!writtenAtEnd && (!toFile || file.startsEmpty())) {
        write(head);
        if (isJob && request.replay)
            for (const QString &line : job.lines)
                write(line);
    }

    Crawl::StopSwitch stop;
    StopSignals signalHandlers(stop);
    if (isJob) // a second Ctrl-C ends the process at once, and the job is still resumable
        signalHandlers.setLastWords((u'\n' + prefix + u"resume with: "_s + resumeCommand(context, request.job) + u'\n').toUtf8());
    Crawl::Pacing pacing = request.pacing;
    pacing.transferTimeout = context.endpoints.timeout;
    pacing.fallbackCharset = context.endpoints.profile.charsetFallback;
    Crawl::Fetcher fetcher(pacing, stop);
    Crawl::Crawler crawler(plan, fetcher);
    ProgressPrinter progress(context.err, request.plan.linksChecked());

    // The rows are committed on a thread of their own while the crawl fetches the next ones.
    Library::Recorder recorder(store, request.runKind,
                               request.runSubject.isEmpty() ? Library::crawlSubject(request.plan) : request.runSubject,
                               [&](const QString &line) { progress.print(prefix + line + u'\n'); },
                               Library::Recorder::Writing::Background);

    Crawl::CrawlCallbacks callbacks;
    // Written before recorded: a kill in between costs the library that one row, never the output.
    // A job's row goes into the library with the job's state, in one transaction.
    // The row before is kept first, so a kill costs the library at most the row in flight.
    callbacks.row = [&](const Crawl::CrawlRow &row) {
        recorder.settle();
        const QString line = Crawl::formatRow(request.format, row, request.formulas);
        if (!writtenAtEnd && !write(line))
            return false;
        const Library::Sighting sighting = Library::sightingOf(row, request.plan.keyword);
        if (!isJob) {
            recorder.record(sighting);
            return true;
        }
        recorder.record(sighting, [name = request.job, seq = job.nextSeq++, page = row.page.value_or(Crawl::kResultsPage),
                                   entry = row.entry, line](Library::Store &kept) {
            return Library::addJobEntry(kept, name, seq, page, entry, line);
        });
        return true;
    };
    if (isJob) {
        callbacks.entrySkipped = [&](int page, const Harvest::ResourceEntry &entry) {
            recorder.keep([name = request.job, seq = job.nextSeq++, page, entry](Library::Store &kept) {
                return Library::addJobEntry(kept, name, seq, page, entry, {});
            });
        };
        callbacks.pageDone = [&](int page) {
            recorder.keep([name = request.job, page](Library::Store &kept) { return Library::markJobPageDone(kept, name, page); });
        };
        callbacks.listingRead = [&](int page, const QList<Harvest::ResourceEntry> &entries) {
            recorder.keep([name = request.job, page, entries](Library::Store &kept) {
                return Library::keepJobListing(kept, name, page, entries);
            });
        };
    }
    callbacks.progress = [&](const Crawl::CrawlProgress &state) { progress.show(state); };
    // A failure line names an entry id from the page.
    callbacks.failure = [&](const QString &line) { progress.print(prefix + Text::printable(line) + u'\n'); };
    callbacks.notice = callbacks.failure;
    // The library's checks stand in for asking the share again while they are fresh.
    Crawl::CachedLink latest;
    if (store)
        latest = [store](const QString &shareUrl) { return store->latestLinkCheck(shareUrl); };
    callbacks.cachedLink = Crawl::freshChecks(latest, request.recheck, request.maxAge);
    if (store && (request.plan.newOnly || request.plan.stopAfterKnown > 0))
        callbacks.known = [store](const Harvest::ResourceEntry &entry, const QString &shareUrl) {
            return Library::isKnownShare(*store, entry.entryId, shareUrl);
        };
    const Crawl::CrawlSummary summary = crawler.run(callbacks);

    if (!summary.robotsUnreadable.isEmpty())
        progress.print(prefix + summary.robotsUnreadable + u" (--robots ignore crawls without it)\n"_s);
    if (!summary.failedPages.isEmpty())
        progress.print(prefix + u"failed pages: "_s + summary.failedPages.join(u", "_s) + u'\n');
    if (!summary.unrecognisedPages.isEmpty())
        progress.print(prefix + Harvest::kLayoutChangeHint + u" (pages: "_s + summary.unrecognisedPages.join(u", "_s) + u")\n"_s);
    for (const QString &host : summary.hostsGivenUp)
        progress.print(prefix + host + u", more than --max-retry-after "_s
                       + QString::number(std::chrono::ceil<std::chrono::seconds>(request.pacing.longestRetryAfter).count())
                       + u": its remaining requests were not sent\n"_s);
    bool outputFailed = summary.outputFailed;
    recorder.settle(); // what the writer has not kept yet is no part of the job's file
    if (writtenAtEnd && summary.pagesRead > 0) {
        outputFailed = !file.write(head);
        for (const QString &line : Library::jobLines(*store, request.job))
            outputFailed = outputFailed || !file.write(line);
    }
    if (toFile && summary.pagesRead > 0 && !outputFailed && !file.commit())
        outputFailed = true;
    if (outputFailed)
        progress.print(prefix + u"cannot write "_s + (toFile ? request.output : u"stdout"_s) + u": "_s
                       + (toFile ? file.errorString() : u"write failed"_s) + u'\n');
    progress.print(prefix + summaryLine(summary));
    const int exit = outputFailed ? Failure : exitCode(summary);
    recorder.finish(u"exit "_s + QString::number(exit));
    if (isJob) {
        // Done only when nothing is left for a later run; what the library failed to keep is
        // left to the next run.
        const bool finished = exit == Success && !recorder.failed();
        Library::endJobRun(*store, request.job, finished, u"exit "_s + QString::number(exit));
        if (!finished)
            progress.print(prefix + u"resume with: "_s + resumeCommand(context, request.job) + u'\n');
    }
    return {exit, summary};
}

} // namespace Cli
