#include "cli/watchcommand.h"

#include "cli/crawlrun.h"
#include "cli/libraryaccess.h"
#include "crawl/linkcache.h"
#include "harvest/keywordrefusal.h"
#include "library/watches.h"
#include "text/printable.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

constexpr std::chrono::seconds kDefaultInterval = std::chrono::hours(6);
// A watch runs unattended: more often would only add load on the site.
constexpr std::chrono::seconds kShortestInterval = std::chrono::minutes(30);
// Enough known entries in a row that what follows on the newest-first listing is old.
constexpr int kKnownInRow = 30;

// "6h", "30m", "2d", "90": the largest unit that divides it, as --every takes it.
QString intervalText(std::chrono::seconds interval)
{
    const qint64 seconds = interval.count();
    for (const auto &[unit, name] : {std::pair{86400, u'd'}, std::pair{3600, u'h'}, std::pair{60, u'm'}})
        if (seconds > 0 && seconds % unit == 0)
            return QString::number(seconds / unit) + name;
    return QString::number(seconds);
}

// The watch the arguments describe; the error line, empty when they are fine.
QString readWatch(const CommandArguments &arguments, Library::Watch &watch)
{
    watch.name = arguments.positional.value(0);
    if (arguments.positional.size() != 1 || watch.name.trimmed().isEmpty() || Text::printable(watch.name) != watch.name)
        return u"add: one NAME, without control characters"_s;
    const bool keyword = arguments.options.contains(u"keyword"_s);
    const bool pages = arguments.options.contains(u"pages"_s);
    if (keyword == pages)
        return u"add: --keyword TEXT or --pages A-B"_s;
    watch.keyword = arguments.options.value(u"keyword"_s);
    if (pages && !parsePages(arguments.options.value(u"pages"_s), watch.firstPage, watch.lastPage))
        return u"add: --pages: A-B or N, pages from 0 to 32767, A not above B"_s;
    watch.every = kDefaultInterval;
    if (arguments.options.contains(u"every"_s)) {
        const QString every = arguments.options.value(u"every"_s);
        const auto interval = Crawl::parseAge(every);
        if (!interval)
            return u"add: --every: seconds, or a number and s, m, h or d (90, 30m, 6h, 2d): "_s + every;
        if (*interval < kShortestInterval)
            return u"add: --every "_s + every + u" is too frequent: at least "_s + intervalText(kShortestInterval);
        watch.every = *interval;
    }
    watch.checkLinks = arguments.flags.contains(u"check-links"_s);
    return {};
}

int list(const Context &context, const Library::Store &store)
{
    const QList<Library::Watch> all = Library::watches(store);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const Library::Watch &watch : all) {
        const QStringList fields{Text::printable(watch.name), Text::printable(watch.what()), intervalText(watch.every),
                                 watch.lastRunAt.isValid() ? watch.lastRunAt.toString(Qt::ISODate) : u"never"_s,
                                 watch.lastNew ? QString::number(*watch.lastNew) : QString(),
                                 watch.isDue(now) ? u"due"_s : u"not due"_s};
        context.out << fields.join(u'\t') << '\n';
    }
    return all.isEmpty() ? Failure : Success;
}

// One watch as an incremental crawl recorded under its name, and its line on err.
CrawlResult runOne(const Context &context, Library::Store &store, const Library::Watch &watch)
{
    CrawlRequest request = crawlRequestFor(context, u"watch"_s);
    request.plan.keyword = watch.keyword;
    request.plan.firstPage = watch.firstPage;
    request.plan.lastPage = watch.lastPage;
    request.plan.checkLinks = watch.checkLinks;
    request.plan.obeyRobots = true;
    request.plan.newOnly = true;
    request.plan.stopAfterKnown = kKnownInRow;
    request.runKind = Library::RunKind::Watch;
    request.runSubject = watch.name;
    const CrawlResult result = runCrawlRequest(context, request, &store);
    // A run that read nothing stays due, so the next timer tries again.
    if (result.summary.pagesRead > 0) {
        if (const QString error = Library::recordWatchRun(store, watch.name, QDateTime::currentDateTimeUtc(),
                                                          result.summary.newRows);
            !error.isEmpty())
            context.err << "watch: " << error << '\n';
    }
    context.err << result.summary.newRows << " new shares for " << Text::printable(watch.what()) << '\n';
    return result;
}

int run(const Context &context, Library::Store &store, const CommandArguments &arguments)
{
    const bool all = arguments.flags.contains(u"all"_s);
    if (all == (arguments.positional.size() == 1) || arguments.positional.size() > 1)
        return usageError(context, u"watch run: NAME or --all"_s);
    QList<Library::Watch> due;
    if (all) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const Library::Watch &watch : Library::watches(store))
            if (watch.isDue(now))
                due.append(watch);
        if (due.isEmpty())
            context.err << "watch run: no watch is due\n";
    } else if (const auto watch = Library::watchNamed(store, arguments.positional.first())) {
        due.append(*watch);
    } else {
        context.err << "watch run: no watch named " << Text::printable(arguments.positional.first()) << '\n';
    }
    bool found = false;
    bool unread = false;
    for (const Library::Watch &watch : due) {
        const CrawlResult result = runOne(context, store, watch);
        if (result.exit == Stopped)
            return Stopped;
        found = found || result.summary.newRows > 0;
        unread = unread || result.exit == Unreachable;
    }
    if (unread)
        return Unreachable;
    return found ? Success : Failure;
}

} // namespace

int runWatch(const Context &context)
{
    const QString action = context.arguments.value(0);
    const CommandArguments arguments = parseCommandArguments(context.arguments.mid(1), kWatchOptions);
    const QStringList actions{u"add"_s, u"list"_s, u"remove"_s, u"run"_s};
    if (!actions.contains(action))
        return usageError(context, u"watch: add, list, remove or run"_s);
    if (!arguments.error.isEmpty())
        return usageError(context, u"watch "_s + action + u": "_s + arguments.error);
    Library::Watch watch;
    if (action == u"add") {
        if (const QString error = readWatch(arguments, watch); !error.isEmpty())
            return usageError(context, u"watch "_s + error);
        // Refused as the search refuses it: the site would be asked for nothing useful.
        const QString refusal = arguments.options.contains(u"keyword"_s) ? Harvest::keywordRefusal(watch.keyword) : QString();
        if (!refusal.isEmpty()) {
            context.err << refusal << '\n';
            return BadUsage;
        }
    } else if (action != u"run" && arguments.positional.size() != (action == u"remove" ? 1 : 0)) {
        return usageError(context, u"watch "_s + action + u": "_s + (action == u"remove" ? u"one NAME"_s : u"no argument"_s));
    }
    const RequiredLibrary library = requireLibrary(context, u"watch"_s, action, action != u"list");
    if (!library.store)
        return library.exit;
    Library::Store &store = *library.store;

    if (action == u"list")
        return list(context, store);
    if (action == u"run")
        return run(context, store, arguments);
    if (action == u"add") {
        if (const QString error = Library::saveWatch(store, watch); !error.isEmpty()) {
            context.err << "watch add: " << error << '\n';
            return Failure;
        }
        return Success;
    }
    bool removed = false;
    if (const QString error = Library::removeWatch(store, arguments.positional.first(), removed); !error.isEmpty())
        context.err << "watch remove: " << error << '\n';
    else if (!removed)
        context.err << "watch remove: no watch named " << Text::printable(arguments.positional.first()) << '\n';
    return removed ? Success : Failure;
}

} // namespace Cli
