#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"
#include "library/crawljob.h"
#include "library/store.h"

#include <QString>
#include <QStringList>

// The crawl's jobs on the command line: which job a run belongs to, what it takes from an
// earlier run, and the "crawl jobs" and "crawl forget" actions.
namespace Cli {

// What a crawl with --job or --resume goes on with.
struct JobChoice
{
    QString name;
    bool isNew = false;
    QStringList arguments; // the crawl's arguments: the job's own options, then this run's others
    int exit = -1;         // 0 or more: the run ends here with this code (its lines are on err)
};

// Picks the job of a crawl's arguments from the library (null: refused): --job NAME (new, or an
// earlier one whose options the given ones must match), --resume [NAME] (an earlier one; without
// a name the unfinished one run last). A finished job has nothing to resume: Success. An
// unknown job, options that differ from the job's, no library: BadUsage, with the reason.
JobChoice chooseJob(const Context &context, const Library::Store *store, const CommandArguments &arguments);

// The job's options as they define it (pages or keyword, format, ..., output) from arguments.
Library::JobParameters jobParametersOf(const CommandArguments &arguments);

// The command line that resumes the job: this program, the run's endpoint options, crawl --resume NAME.
QString resumeCommand(const Context &context, const QString &name);

// Whether arguments ask for "crawl jobs" or "crawl forget NAME", which runCrawlJobAction runs.
bool isJobAction(const QStringList &arguments);
int runCrawlJobAction(const Context &context);

} // namespace Cli
