#include "cli/crawlcommand.h"

#include "cli/commandarguments.h"
#include "cli/crawljobs.h"
#include "cli/libraryaccess.h"
#include "cli/progresstext.h"
#include "cli/rawflag.h"
#include "cli/stopsignals.h"
#include "cli/terminal.h"
#include "config/settingkeys.h"
#include "crawl/crawler.h"
#include "crawl/fetcher.h"
#include "crawl/linkcache.h"
#include "crawl/outputfile.h"
#include "crawl/rowformat.h"
#include "crawl/stopswitch.h"
#include "harvest/entryparser.h"
#include "harvest/keywordrefusal.h"
#include "harvest/siteurls.h"
#include "library/crawljob.h"
#include "library/crawlsighting.h"
#include "library/recorder.h"
#include "text/printable.h"
#include "text/wholenumber.h"

#include <QLocale>
#include <QString>

#include <chrono>
#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

constexpr int kMostRetries = 100;
constexpr auto kBarRedraw = std::chrono::milliseconds(100);

struct CrawlOptions
{
    Crawl::CrawlPlan plan;
    Crawl::Pacing pacing;
    Crawl::Format format = Crawl::Format::Jsonl;
    Harvest::Formulas formulas = Harvest::Formulas::Defused;
    QString output;
    bool append = false;
    // How earlier checks of share links are taken (Crawl::freshChecks).
    bool recheck = false;
    std::optional<std::chrono::seconds> maxAge;
    QString error;
};

// Whole decimal number in low..high, at most ten plain digits.
std::optional<qint64> number(QStringView text, qint64 low, qint64 high)
{
    return Text::wholeNumber(text, 10, low, high);
}

// "A-B" or "N", both page numbers and A <= B.
bool parsePages(const QString &text, Crawl::CrawlPlan &plan)
{
    const qsizetype dash = text.indexOf(u'-');
    const auto first = Harvest::pageNumber(dash < 0 ? text : text.left(dash));
    const auto last = dash < 0 ? first : Harvest::pageNumber(text.mid(dash + 1));
    if (!first || !last || *first > *last)
        return false;
    plan.firstPage = static_cast<int>(*first);
    plan.lastPage = static_cast<int>(*last);
    return true;
}

// "live,dead": the states rows are written for; none when a name is not a state.
std::optional<QList<Crawl::LinkState>> parseStates(const QString &text)
{
    QList<Crawl::LinkState> states;
    for (const QString &name : text.split(u',')) {
        const auto state = Crawl::parseLinkState(name.trimmed());
        if (!state)
            return std::nullopt;
        states.append(*state);
    }
    return states;
}

// The link options: which rows are written, the profile's share rules with the user's dead
// wordings, and how earlier checks are taken.
void parseLinkOptions(const CommandArguments &arguments, CrawlOptions &options)
{
    QString &error = options.error;
    Crawl::CrawlPlan &plan = options.plan;
    plan.checkLinks = arguments.flags.contains(u"check-links"_s);
    if (arguments.flags.contains(u"only-live"_s))
        plan.writtenStates = {Crawl::LinkState::Live};
    if (error.isEmpty() && arguments.options.contains(u"link-states"_s)) {
        const QString states = arguments.options.value(u"link-states"_s);
        const auto parsed = parseStates(states);
        if (!plan.writtenStates.isEmpty())
            error = u"--only-live and --link-states exclude each other"_s;
        else if (!parsed)
            error = u"--link-states: a list of live, locked, dead, limited, unknown: "_s + states;
        else
            plan.writtenStates = *parsed;
    }
    // The user's wordings say a share is gone, not why.
    plan.profile.shareRules.deleted.wordings += arguments.options.values(u"dead-marker"_s);

    options.recheck = arguments.flags.contains(u"recheck"_s);
    const QString maxAge = arguments.options.value(u"max-age"_s);
    if (error.isEmpty() && arguments.options.contains(u"max-age"_s)) {
        options.maxAge = Crawl::parseAge(maxAge);
        if (!options.maxAge)
            error = u"--max-age: seconds, or a number and s, m, h or d (90, 30m, 6h, 2d), at most "_s
                + QString::number(std::chrono::floor<std::chrono::days>(Crawl::kLongestMaxAge).count()) + u"d: "_s + maxAge;
    }
}

// Sets one numeric option when given; the error line names it when its value is refused.
template<typename Apply>
void numberOption(const CommandArguments &arguments, const QString &name, qint64 low, qint64 high, QString &error,
                  Apply apply)
{
    if (!error.isEmpty() || !arguments.options.contains(name))
        return;
    const QString value = arguments.options.value(name);
    if (const auto parsed = number(value, low, high))
        apply(*parsed);
    else
        error = u"--"_s + name + u": not a whole number from "_s + QString::number(low) + u" to "_s
            + QString::number(high) + u": "_s + value;
}

CrawlOptions parseOptions(const Context &context)
{
    CrawlOptions options;
    const CommandArguments arguments = parseCommandArguments(context.arguments, kCrawlOptions);
    QString &error = options.error;
    if (!arguments.error.isEmpty())
        error = arguments.error;
    else if (!arguments.positional.isEmpty())
        error = u"unexpected argument "_s + arguments.positional.first();
    else if (arguments.options.contains(u"pages"_s) && arguments.options.contains(u"keyword"_s))
        error = u"--pages and --keyword exclude each other"_s;
    else if (arguments.options.contains(u"pages"_s) && !parsePages(arguments.options.value(u"pages"_s), options.plan))
        error = u"--pages: A-B or N, pages from 0 to 32767, A not above B: "_s + arguments.options.value(u"pages"_s);

    options.plan.keyword = arguments.options.value(u"keyword"_s);
    if (error.isEmpty() && arguments.options.contains(u"keyword"_s)
        && !Harvest::keywordRefusal(options.plan.keyword).isEmpty())
        error = u"--keyword: at least two characters"_s;
    if (error.isEmpty() && arguments.options.contains(u"format"_s)) {
        const auto format = Crawl::parseFormat(arguments.options.value(u"format"_s));
        if (!format)
            error = u"--format: jsonl, csv or tsv, not "_s + arguments.options.value(u"format"_s);
        options.format = format.value_or(Crawl::Format::Jsonl);
    }
    options.pacing.delay = context.endpoints.crawlDelay; // the crawl-delay setting, unless --delay says otherwise
    numberOption(arguments, u"delay"_s, 0, Config::kLongestDelayMs, error,
                 [&](qint64 ms) { options.pacing.delay = std::chrono::milliseconds(ms); });
    numberOption(arguments, u"retries"_s, 0, kMostRetries, error,
                 [&](qint64 n) { options.pacing.retries = static_cast<int>(n); });
    numberOption(arguments, u"backoff"_s, 0, options.pacing.backoffCap.count(), error,
                 [&](qint64 ms) { options.pacing.backoffBase = std::chrono::milliseconds(ms); });
    numberOption(arguments, u"max-retry-after"_s, 0, Config::kLongestDelayMs / 1000, error,
                 [&](qint64 s) { options.pacing.longestRetryAfter = std::chrono::seconds(s); });
    if (error.isEmpty() && arguments.options.contains(u"jitter"_s)) {
        bool ok = false;
        const QString value = arguments.options.value(u"jitter"_s);
        options.pacing.jitter = QLocale::c().toDouble(value, &ok);
        if (!ok || !(options.pacing.jitter >= 0 && options.pacing.jitter <= 1))
            error = u"--jitter: a number from 0 to 1: "_s + value;
    }

    const QString robots = arguments.options.value(u"robots"_s, u"obey"_s);
    options.plan.obeyRobots = robots == u"obey";
    if (error.isEmpty() && !options.plan.obeyRobots && robots != u"ignore")
        error = u"--robots: obey or ignore, not "_s + robots;

    options.output = arguments.options.value(u"output"_s);
    options.append = arguments.flags.contains(u"append"_s);
    options.formulas = formulasOf(arguments);
    if (error.isEmpty() && arguments.options.contains(u"output"_s) && options.output.isEmpty())
        error = u"--output: no file name"_s;
    if (error.isEmpty() && options.append && options.output.isEmpty())
        error = u"--append needs --output"_s;

    options.plan.shareSite = context.endpoints.shareSite;
    options.plan.sharePrefix = context.endpoints.sharePrefix;
    options.plan.profile = context.endpoints.profile;
    parseLinkOptions(arguments, options);
    return options;
}

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

int runCrawl(const Context &context)
{
    if (isJobAction(context.arguments))
        return runCrawlJobAction(context);
    const CommandArguments given = parseCommandArguments(context.arguments, kCrawlOptions);
    const bool isJob = given.error.isEmpty() && (given.options.contains(u"job"_s) || given.flags.contains(u"resume"_s));
    std::unique_ptr<Library::Store> store;
    Context effective = context;
    JobChoice job;
    if (isJob) {
        store = openLibraryFor(context, "crawl");
        job = chooseJob(context, store.get(), given);
        if (job.exit >= 0)
            return job.exit;
        effective.arguments = job.arguments;
    }
    const CrawlOptions options = parseOptions(effective);
    if (!options.error.isEmpty())
        return usageError(context, u"crawl: "_s + options.error);
    if (isJob && job.isNew) {
        if (const QString error = Library::createJob(*store, job.name, jobParametersOf(parseCommandArguments(job.arguments, kCrawlOptions)));
            !error.isEmpty()) {
            context.err << "crawl: library: " << error << '\n';
            return Failure;
        }
    }
    Library::JobState jobState = isJob ? Library::loadJobState(*store, job.name) : Library::JobState();
    Crawl::CrawlPlan plan = options.plan;
    plan.resume = jobState.resume;

    Crawl::OutputFile file;
    const bool toFile = !options.output.isEmpty();
    if (toFile) {
        const QString why = file.open(options.output, options.append);
        if (!why.isEmpty()) {
            context.err << "crawl: cannot write " << options.output << ": " << why << '\n';
            return Failure;
        }
    }
    const auto write = [&](const QString &text) {
        if (toFile)
            return file.write(text);
        context.out << text;
        context.out.flush();
        return context.out.status() == QTextStream::Ok;
    };
    const QString head = Crawl::outputHead(options.format, options.plan.linksChecked());
    // A job's file is written whole at the end, from the rows the library kept of every run.
    if (!(isJob && toFile) && (!toFile || file.startsEmpty())) {
        write(head);
        if (isJob && given.flags.contains(u"replay"_s))
            for (const QString &line : jobState.lines)
                write(line);
    }

    Crawl::StopSwitch stop;
    const StopSignals signalHandlers(stop);
    Crawl::Pacing pacing = options.pacing;
    pacing.transferTimeout = context.endpoints.timeout;
    pacing.fallbackCharset = context.endpoints.profile.charsetFallback;
    Crawl::Fetcher fetcher(pacing, stop);
    Crawl::Crawler crawler(plan, fetcher);
    ProgressPrinter progress(context.err, options.plan.linksChecked());

    if (!isJob)
        store = openLibraryFor(context, "crawl");
    Library::Recorder recorder(store.get(), Library::RunKind::Crawl, Library::crawlSubject(options.plan),
                               [&progress](const QString &line) { progress.print(u"crawl: "_s + line + u'\n'); });

    Crawl::CrawlCallbacks callbacks;
    // Written before recorded: a kill in between costs the library that one row, never the output.
    // A job's row goes into the library with the job's state, in one transaction.
    callbacks.row = [&](const Crawl::CrawlRow &row) {
        const QString line = Crawl::formatRow(options.format, row, options.formulas);
        if (!(isJob && toFile) && !write(line))
            return false;
        const Library::Sighting sighting = Library::sightingOf(row, options.plan.keyword);
        if (isJob)
            recorder.record(sighting, [&] {
                return Library::addJobEntry(*store, job.name, jobState.nextSeq++, row.page.value_or(Crawl::kResultsPage),
                                            row.entry, line);
            });
        else
            recorder.record(sighting);
        return true;
    };
    if (isJob) {
        callbacks.entrySkipped = [&](int page, const Harvest::ResourceEntry &entry) {
            recorder.keep([&] { return Library::addJobEntry(*store, job.name, jobState.nextSeq++, page, entry, {}); });
        };
        callbacks.pageDone = [&](int page) { recorder.keep([&] { return Library::markJobPageDone(*store, job.name, page); }); };
        callbacks.listingRead = [&](int page, const QList<Harvest::ResourceEntry> &entries) {
            recorder.keep([&] { return Library::keepJobListing(*store, job.name, page, entries); });
        };
    }
    callbacks.progress = [&](const Crawl::CrawlProgress &state) { progress.show(state); };
    // A failure line names an entry id from the page.
    callbacks.failure = [&](const QString &line) { progress.print(u"crawl: "_s + Text::printable(line) + u'\n'); };
    callbacks.notice = callbacks.failure;
    // The library's checks stand in for asking the share again while they are fresh.
    Crawl::CachedLink latest;
    if (store)
        latest = [&store](const QString &shareUrl) { return store->latestLinkCheck(shareUrl); };
    callbacks.cachedLink = Crawl::freshChecks(latest, options.recheck, options.maxAge);
    const Crawl::CrawlSummary summary = crawler.run(callbacks);

    if (!summary.robotsUnreadable.isEmpty())
        progress.print(u"crawl: "_s + summary.robotsUnreadable + u" (--robots ignore crawls without it)\n"_s);
    if (!summary.failedPages.isEmpty())
        progress.print(u"crawl: failed pages: "_s + summary.failedPages.join(u", "_s) + u'\n');
    if (!summary.unrecognisedPages.isEmpty())
        progress.print(u"crawl: "_s + Harvest::kLayoutChangeHint + u" (pages: "_s + summary.unrecognisedPages.join(u", "_s) + u")\n"_s);
    for (const QString &host : summary.hostsGivenUp)
        progress.print(u"crawl: "_s + host + u", more than --max-retry-after "_s
                       + QString::number(std::chrono::ceil<std::chrono::seconds>(options.pacing.longestRetryAfter).count())
                       + u": its remaining requests were not sent\n"_s);
    bool outputFailed = summary.outputFailed;
    if (isJob && toFile && summary.pagesRead > 0) {
        outputFailed = !file.write(head);
        for (const QString &line : Library::loadJobState(*store, job.name).lines)
            outputFailed = outputFailed || !file.write(line);
    }
    if (toFile && summary.pagesRead > 0 && !outputFailed && !file.commit())
        outputFailed = true;
    if (outputFailed)
        progress.print(u"crawl: cannot write "_s + (toFile ? options.output : u"stdout"_s) + u": "_s
                       + (toFile ? file.errorString() : u"write failed"_s) + u'\n');
    progress.print(u"crawl: "_s + summaryLine(summary));
    const int exit = outputFailed ? Failure : exitCode(summary);
    recorder.finish(u"exit "_s + QString::number(exit));
    if (isJob) {
        // Done only when nothing is left for a later run; a failure of the library's leaves the
        // entries it missed to the next run.
        const bool finished = exit == Success && !recorder.failed();
        Library::endJobRun(*store, job.name, finished, u"exit "_s + QString::number(exit));
        if (!finished)
            progress.print(u"crawl: resume with: "_s + resumeCommand(context, job.name) + u'\n');
    }
    return exit;
}

} // namespace Cli
