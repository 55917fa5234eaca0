#pragma once

#include "crawl/crawler.h"
#include "library/store.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Crawl jobs: a crawl kept in the library as it goes, page by page and entry by entry, so that a
// later run of the same job skips what is done and its output can be written whole again.
namespace Library {

// The options that make a job what it is, as "--name" and value ("" for a flag), in a fixed order.
using JobParameters = QList<std::pair<QString, QString>>;

struct JobInfo
{
    QString name;
    JobParameters parameters;
    QDateTime createdAt;
    QDateTime updatedAt;
    QDateTime finishedAt; // invalid while there is something left to do
    QString outcome;      // of its latest run
    int pagesDone = 0;
    int rows = 0;
};

// "was --pages 0-50, now 0-60", one clause per option that differs; empty when none does.
QString differenceOf(const JobParameters &was, const JobParameters &now);
// The parameters as command-line arguments.
QStringList argumentsOf(const JobParameters &parameters);

std::optional<JobInfo> findJob(const Store &store, const QString &name);
// The unfinished job run most recently, if any.
std::optional<JobInfo> lastUnfinishedJob(const Store &store);
QList<JobInfo> jobs(const Store &store);

QString createJob(Store &store, const QString &name, const JobParameters &parameters);
// Drops the job and everything it kept; found says whether there was one.
QString forgetJob(Store &store, const QString &name, bool &found);
QString endJobRun(Store &store, const QString &name, bool finished, const QString &outcome);

// What a job has done: what its next run skips, and its rows as written, in page and row order.
struct JobState
{
    Crawl::ResumePoint resume;
    QStringList lines;
    qint64 nextSeq = 0;
};
JobState loadJobState(const Store &store, const QString &name);
// Only the rows as written, in page and row order (JobState::lines).
QStringList jobLines(const Store &store, const QString &name);

// Inside a transaction of the caller's (Store::record's alongside, Store::inTransaction): an
// entry finished, with the line written for it, or a null line when it gave no row.
QString addJobEntry(Store &store, const QString &name, qint64 seq, int page, const Harvest::ResourceEntry &entry,
                    const QString &line);
QString markJobPageDone(Store &store, const QString &name, int page);
// A page's entries as read, so that a later run of the job does not read the page again.
QString keepJobListing(Store &store, const QString &name, int page, const QList<Harvest::ResourceEntry> &entries);

} // namespace Library
