#include "cli/crawlcommand.h"

#include "cli/commandarguments.h"
#include "cli/crawljobs.h"
#include "cli/crawlrun.h"
#include "cli/libraryaccess.h"
#include "cli/rawflag.h"
#include "config/settingkeys.h"
#include "crawl/linkcache.h"
#include "harvest/keywordrefusal.h"
#include "text/wholenumber.h"

#include <QLocale>
#include <QString>

#include <chrono>
#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

constexpr int kMostRetries = 100;
constexpr qint64 kMostKnownInRow = 1000000;
constexpr qint64 kMostAtOnce = 16; // requests in flight, in all and to one host

struct CrawlOptions
{
    CrawlRequest request;
    QString error;
};

// Whole decimal number in low..high, at most ten plain digits.
std::optional<qint64> number(QStringView text, qint64 low, qint64 high)
{
    return Text::wholeNumber(text, 10, low, high);
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
    Crawl::CrawlPlan &plan = options.request.plan;
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

    options.request.recheck = arguments.flags.contains(u"recheck"_s);
    const QString maxAge = arguments.options.value(u"max-age"_s);
    if (error.isEmpty() && arguments.options.contains(u"max-age"_s)) {
        options.request.maxAge = Crawl::parseAge(maxAge);
        if (!options.request.maxAge)
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
    CrawlOptions options{crawlRequestFor(context, u"crawl"_s), {}};
    CrawlRequest &request = options.request;
    const CommandArguments arguments = parseCommandArguments(context.arguments, kCrawlOptions);
    QString &error = options.error;
    if (!arguments.error.isEmpty())
        error = arguments.error;
    else if (!arguments.positional.isEmpty())
        error = u"unexpected argument "_s + arguments.positional.first();
    else if (arguments.options.contains(u"pages"_s) && arguments.options.contains(u"keyword"_s))
        error = u"--pages and --keyword exclude each other"_s;
    else if (arguments.options.contains(u"pages"_s) && !parsePages(arguments.options.value(u"pages"_s), request.plan.firstPage, request.plan.lastPage))
        error = u"--pages: A-B or N, pages from 0 to 32767, A not above B: "_s + arguments.options.value(u"pages"_s);

    request.plan.keyword = arguments.options.value(u"keyword"_s);
    if (error.isEmpty() && arguments.options.contains(u"keyword"_s)
        && !Harvest::keywordRefusal(request.plan.keyword).isEmpty())
        error = u"--keyword: at least two characters"_s;
    if (error.isEmpty() && arguments.options.contains(u"format"_s)) {
        const auto format = Crawl::parseFormat(arguments.options.value(u"format"_s));
        if (!format)
            error = u"--format: jsonl, csv or tsv, not "_s + arguments.options.value(u"format"_s);
        request.format = format.value_or(Crawl::Format::Jsonl);
    }
    numberOption(arguments, u"delay"_s, 0, Config::kLongestDelayMs, error,
                 [&](qint64 ms) { request.pacing.delay = std::chrono::milliseconds(ms); });
    numberOption(arguments, u"retries"_s, 0, kMostRetries, error,
                 [&](qint64 n) { request.pacing.retries = static_cast<int>(n); });
    numberOption(arguments, u"backoff"_s, 0, request.pacing.backoffCap.count(), error,
                 [&](qint64 ms) { request.pacing.backoffBase = std::chrono::milliseconds(ms); });
    numberOption(arguments, u"concurrency"_s, 1, kMostAtOnce, error,
                 [&](qint64 n) { request.pacing.concurrency = static_cast<int>(n); });
    numberOption(arguments, u"per-host"_s, 1, kMostAtOnce, error,
                 [&](qint64 n) { request.pacing.perHost = static_cast<int>(n); });
    numberOption(arguments, u"max-retry-after"_s, 0, Config::kLongestDelayMs / 1000, error,
                 [&](qint64 s) { request.pacing.longestRetryAfter = std::chrono::seconds(s); });
    if (error.isEmpty() && arguments.options.contains(u"jitter"_s)) {
        bool ok = false;
        const QString value = arguments.options.value(u"jitter"_s);
        request.pacing.jitter = QLocale::c().toDouble(value, &ok);
        if (!ok || !(request.pacing.jitter >= 0 && request.pacing.jitter <= 1))
            error = u"--jitter: a number from 0 to 1: "_s + value;
    }

    const QString robots = arguments.options.value(u"robots"_s, u"obey"_s);
    request.plan.obeyRobots = robots == u"obey";
    if (error.isEmpty() && !request.plan.obeyRobots && robots != u"ignore")
        error = u"--robots: obey or ignore, not "_s + robots;

    request.output = arguments.options.value(u"output"_s);
    request.append = arguments.flags.contains(u"append"_s);
    request.formulas = formulasOf(arguments);
    if (error.isEmpty() && arguments.options.contains(u"output"_s) && request.output.isEmpty())
        error = u"--output: no file name"_s;
    if (error.isEmpty() && request.append && request.output.isEmpty())
        error = u"--append needs --output"_s;

    request.plan.newOnly = arguments.flags.contains(u"new-only"_s);
    numberOption(arguments, u"stop-after-known"_s, 1, kMostKnownInRow, error,
                 [&](qint64 n) { request.plan.stopAfterKnown = static_cast<int>(n); });
    parseLinkOptions(arguments, options);
    return options;
}

} // namespace

int runCrawl(const Context &context)
{
    if (isJobAction(context.arguments))
        return runCrawlJobAction(context);
    const CommandArguments given = parseCommandArguments(context.arguments, kCrawlOptions);
    const bool isJob = given.error.isEmpty() && (given.options.contains(u"job"_s) || given.flags.contains(u"resume"_s));
    std::unique_ptr<Library::Store> store = openLibraryFor(context, "crawl");
    Context effective = context;
    JobChoice job;
    if (isJob) {
        job = chooseJob(context, store.get(), given);
        if (job.exit >= 0)
            return job.exit;
        effective.arguments = job.arguments;
    }
    CrawlOptions options = parseOptions(effective);
    if (!options.error.isEmpty())
        return usageError(context, u"crawl: "_s + options.error);
    if (isJob) {
        options.request.job = job.name;
        options.request.replay = given.flags.contains(u"replay"_s);
        const QString error =
            job.isNew ? Library::createJob(*store, job.name, jobParametersOf(parseCommandArguments(job.arguments, kCrawlOptions)))
                      : QString();
        if (!error.isEmpty()) {
            context.err << "crawl: library: " << error << '\n';
            return Failure;
        }
    }
    const Crawl::CrawlPlan &plan = options.request.plan;
    // What is known is what the library holds: without it every share would count as new.
    if (!store && (plan.newOnly || plan.stopAfterKnown > 0))
        return usageError(context, u"crawl: --new-only and --stop-after-known need the library (--no-library, or it could not be opened)"_s);
    return runCrawlRequest(context, options.request, store.get()).exit;
}

} // namespace Cli
