#include "cli/crawljobs.h"

#include "cli/crawlcommand.h"
#include "cli/libraryaccess.h"
#include "text/printable.h"

#include <QFileInfo>

#include <array>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

// The options that make a crawl the job it is; the others (pace, retries, ...) may change
// from one run of a job to the next.
constexpr std::array<const char *, 10> kJobIdentity{"pages",     "keyword",   "format",      "raw",  "check-links",
                                                    "link-states", "only-live", "dead-marker", "robots", "output"};
// The options about the job itself, which are not the crawl's.
constexpr std::array<const char *, 3> kJobOptions{"job", "resume", "replay"};

template<std::size_t N>
bool isAmong(const std::array<const char *, N> &names, const char *name)
{
    return std::any_of(names.begin(), names.end(), [name](const char *n) { return qstrcmp(n, name) == 0; });
}

bool givesIdentity(const CommandArguments &arguments)
{
    return std::any_of(kJobIdentity.begin(), kJobIdentity.end(), [&](const char *name) {
        const QString key = QLatin1StringView(name);
        return arguments.options.contains(key) || arguments.flags.contains(key);
    });
}

// The crawl options of arguments that are neither the job's identity nor about the job.
QStringList otherArguments(const CommandArguments &arguments)
{
    QStringList other;
    for (const OptionSpec &spec : kCrawlOptions) {
        if (isAmong(kJobIdentity, spec.name) || isAmong(kJobOptions, spec.name))
            continue;
        const QString name = QLatin1StringView(spec.name);
        if (!spec.value && arguments.flags.contains(name))
            other.append(u"--"_s + name);
        const QStringList values = arguments.options.values(name);
        for (auto it = values.crbegin(); it != values.crend(); ++it)
            other += {u"--"_s + name, *it};
    }
    return other;
}

QString jobList(const Library::Store &store)
{
    QStringList names;
    for (const Library::JobInfo &job : Library::jobs(store))
        names.append(job.name);
    return names.isEmpty() ? u"there are no jobs"_s : u"jobs: "_s + names.join(u", "_s);
}

// A word the shell takes as it stands.
QString quoted(const QString &word)
{
    static const QString plain = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_./:=@%+,"_s;
    const bool bare = !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) { return plain.contains(c); });
    return bare ? word : u'\'' + QString(word).replace(u"'"_s, u"'\\''"_s) + u'\'';
}

} // namespace

Library::JobParameters jobParametersOf(const CommandArguments &arguments)
{
    Library::JobParameters parameters;
    const auto option = [&](const char *name) { return arguments.options.value(QLatin1StringView(name)); };
    if (arguments.options.contains(u"keyword"_s)) {
        parameters.append({u"--keyword"_s, option("keyword")});
    } else {
        QString pages = option("pages");
        if (pages.isEmpty())
            pages = u"0"_s;
        parameters.append({u"--pages"_s, pages.contains(u'-') ? pages : pages + u'-' + pages});
    }
    parameters.append({u"--format"_s, arguments.options.value(u"format"_s, u"jsonl"_s)});
    parameters.append({u"--robots"_s, arguments.options.value(u"robots"_s, u"obey"_s)});
    for (const char *flag : {"raw", "check-links", "only-live"})
        if (arguments.flags.contains(QLatin1StringView(flag)))
            parameters.append({u"--"_s + QLatin1StringView(flag), QString()});
    if (arguments.options.contains(u"link-states"_s))
        parameters.append({u"--link-states"_s, option("link-states")});
    QStringList markers = arguments.options.values(u"dead-marker"_s);
    std::reverse(markers.begin(), markers.end());
    for (const QString &marker : markers)
        parameters.append({u"--dead-marker"_s, marker});
    if (arguments.options.contains(u"output"_s))
        parameters.append({u"--output"_s, QFileInfo(option("output")).absoluteFilePath()});
    return parameters;
}

JobChoice chooseJob(const Context &context, const Library::Store *store, const CommandArguments &arguments)
{
    JobChoice choice;
    const bool resume = arguments.flags.contains(u"resume"_s);
    const auto refuse = [&](const QString &why) {
        choice.exit = usageError(context, u"crawl: "_s + why);
        return choice;
    };
    if (resume && arguments.options.contains(u"job"_s))
        return refuse(u"--resume NAME or --job NAME, not both"_s);
    if (resume && arguments.positional.size() > 1)
        return refuse(u"unexpected argument "_s + arguments.positional.last());
    if (arguments.flags.contains(u"append"_s))
        return refuse(u"a job writes its --output whole; --append does not go with it"_s);
    if (!store)
        return refuse(u"a job is kept in the library, and there is none (--no-library, or it cannot be opened)"_s);

    choice.name = resume ? arguments.positional.value(0) : arguments.options.value(u"job"_s);
    std::optional<Library::JobInfo> job;
    if (resume && choice.name.isEmpty()) {
        job = Library::lastUnfinishedJob(*store);
        if (!job)
            return refuse(u"no unfinished job to resume; "_s + jobList(*store));
        choice.name = job->name;
    } else if (choice.name.isEmpty()) {
        return refuse(u"--job: a name is needed"_s);
    } else {
        job = Library::findJob(*store, choice.name);
    }
    if (!job) {
        if (resume)
            return refuse(u"no job named "_s + Text::printable(choice.name) + u"; "_s + jobList(*store));
        choice.isNew = true;
        choice.arguments = Library::argumentsOf(jobParametersOf(arguments)) + otherArguments(arguments);
        return choice;
    }
    if (givesIdentity(arguments)) {
        // Only what is given now is held against the job: the rest it keeps.
        Library::JobParameters now = jobParametersOf(arguments);
        Library::JobParameters was = job->parameters;
        const auto notGiven = [&](const std::pair<QString, QString> &parameter) {
            const QString key = parameter.first.mid(2);
            return !arguments.options.contains(key) && !arguments.flags.contains(key);
        };
        now.removeIf(notGiven);
        was.removeIf(notGiven);
        const QString difference = Library::differenceOf(was, now);
        if (!difference.isEmpty())
            return refuse(u"job "_s + Text::printable(choice.name) + u" was started with other options: "_s + difference);
    }
    if (job->finishedAt.isValid()) {
        context.err << "crawl: job " << Text::printable(choice.name) << " is finished: nothing to resume\n";
        choice.exit = Success;
        return choice;
    }
    choice.arguments = Library::argumentsOf(job->parameters) + otherArguments(arguments);
    return choice;
}

QString resumeCommand(const Context &context, const QString &name)
{
    QStringList words{u"vorlen360-cli"_s};
    for (const QString &argument : context.endpointArguments)
        words.append(quoted(argument));
    words += {u"crawl"_s, u"--resume"_s, quoted(name)};
    return words.join(u' ');
}

bool isJobAction(const QStringList &arguments)
{
    const QString action = arguments.value(0);
    return action == u"jobs" || action == u"forget";
}

int runCrawlJobAction(const Context &context)
{
    const QString action = context.arguments.first();
    const QStringList rest = context.arguments.mid(1);
    if ((action == u"jobs" && !rest.isEmpty()) || (action == u"forget" && rest.size() != 1))
        return usageError(context, action == u"jobs" ? u"crawl jobs: no arguments"_s : u"crawl forget: one job name"_s);
    const RequiredLibrary library = requireLibrary(context, u"crawl"_s, action, action == u"forget");
    if (!library.store)
        return library.exit;
    Library::Store &store = *library.store;
    if (action == u"forget") {
        bool found = false;
        if (const QString error = Library::forgetJob(store, rest.first(), found); !error.isEmpty()) {
            context.err << "crawl forget: " << error << '\n';
            return Failure;
        }
        if (!found)
            return usageError(context, u"crawl forget: no job named "_s + Text::printable(rest.first()) + u"; "_s + jobList(store));
        return Success;
    }
    for (const Library::JobInfo &job : Library::jobs(store)) {
        context.out << Text::printable(job.name) << '\t' << (job.finishedAt.isValid() ? "finished" : "unfinished") << '\t'
                    << "pages done " << job.pagesDone << "\trows " << job.rows << '\t'
                    << Text::printable(Library::argumentsOf(job.parameters).join(u' ')) << '\n';
    }
    return Success;
}

} // namespace Cli
