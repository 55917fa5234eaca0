#include "library/crawljob.h"

#include "library/sqlexec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

QString encode(const JobParameters &parameters)
{
    QJsonArray array;
    for (const auto &[name, value] : parameters)
        array.append(QJsonArray{name, value});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

JobParameters decode(const QString &text)
{
    JobParameters parameters;
    for (const QJsonValue &pair : QJsonDocument::fromJson(text.toUtf8()).array())
        parameters.append({pair[0].toString(), pair[1].toString()});
    return parameters;
}

constexpr auto kJobColumns =
    u"name, parameters, created_at, updated_at, finished_at, COALESCE(outcome, ''),"
    " (SELECT COUNT(*) FROM job_pages p WHERE p.job = jobs.name AND p.done = 1),"
    " (SELECT COUNT(*) FROM job_entries e WHERE e.job = jobs.name AND e.line IS NOT NULL) FROM jobs";

JobInfo jobOf(const QSqlQuery &query)
{
    return {query.value(0).toString(),   decode(query.value(1).toString()), timeOf(query.value(2)),
            timeOf(query.value(3)),      timeOf(query.value(4)),            query.value(5).toString(),
            query.value(6).toInt(),      query.value(7).toInt()};
}

QList<JobInfo> selectJobs(const Store &store, const QString &where, const QVariantList &binds)
{
    QList<JobInfo> found;
    QSqlQuery query(store.database());
    if (!exec(query, u"SELECT "_s + QString::fromUtf16(kJobColumns) + where, binds))
        return found;
    while (query.next())
        found.append(jobOf(query));
    return found;
}

} // namespace

QString differenceOf(const JobParameters &was, const JobParameters &now)
{
    QStringList clauses;
    const auto valueIn = [](const JobParameters &parameters, const QString &name) -> std::optional<QString> {
        for (const auto &[n, value] : parameters)
            if (n == name)
                return value;
        return std::nullopt;
    };
    QStringList names;
    for (const JobParameters *side : {&was, &now})
        for (const auto &parameter : *side)
            if (!names.contains(parameter.first))
                names.append(parameter.first);
    for (const QString &name : names) {
        const auto before = valueIn(was, name);
        const auto after = valueIn(now, name);
        if (before == after)
            continue;
        const auto side = [&name](const std::optional<QString> &value) {
            return !value ? u"without "_s + name : value->isEmpty() ? name : name + u' ' + *value;
        };
        clauses.append(u"was "_s + side(before) + u", now "_s + side(after).remove(name + u' '));
    }
    return clauses.join(u"; "_s);
}

QStringList argumentsOf(const JobParameters &parameters)
{
    QStringList arguments;
    for (const auto &[name, value] : parameters) {
        arguments.append(name);
        if (!value.isEmpty())
            arguments.append(value);
    }
    return arguments;
}

std::optional<JobInfo> findJob(const Store &store, const QString &name)
{
    const QList<JobInfo> found = selectJobs(store, u" WHERE name = ?"_s, {name});
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

std::optional<JobInfo> lastUnfinishedJob(const Store &store)
{
    const QList<JobInfo> found = selectJobs(store, u" WHERE finished_at IS NULL ORDER BY updated_at DESC LIMIT 1"_s, {});
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

QList<JobInfo> jobs(const Store &store)
{
    return selectJobs(store, u" ORDER BY name"_s, {});
}

QString createJob(Store &store, const QString &name, const JobParameters &parameters)
{
    QSqlQuery query(store.database());
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!exec(query, u"INSERT INTO jobs(name, parameters, created_at, updated_at) VALUES(?, ?, ?, ?)"_s,
              {name, encode(parameters), now, now}))
        return query.lastError().text();
    return {};
}

QString forgetJob(Store &store, const QString &name, bool &found)
{
    found = false;
    return store.inTransaction([&] {
        QSqlQuery query(store.database());
        for (const auto *table : {u"job_entries", u"job_pages"})
            if (!exec(query, u"DELETE FROM "_s + QString::fromUtf16(table) + u" WHERE job = ?"_s, {name}))
                return query.lastError().text();
        if (!exec(query, u"DELETE FROM jobs WHERE name = ?"_s, {name}))
            return query.lastError().text();
        found = query.numRowsAffected() > 0;
        return QString();
    });
}

QString endJobRun(Store &store, const QString &name, bool finished, const QString &outcome)
{
    QSqlQuery query(store.database());
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!exec(query, u"UPDATE jobs SET updated_at = ?, finished_at = ?, outcome = ? WHERE name = ?"_s,
              {now, finished ? QVariant(now) : QVariant(QMetaType::fromType<qint64>()), outcome, name}))
        return query.lastError().text();
    return {};
}

JobState loadJobState(const Store &store, const QString &name)
{
    JobState state;
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    if (exec(query, u"SELECT page, done, entries FROM job_pages WHERE job = ?"_s, {name})) {
        while (query.next()) {
            const int page = query.value(0).toInt();
            if (query.value(1).toInt() == 1) {
                state.resume.donePages.insert(page);
                continue;
            }
            QList<Harvest::ResourceEntry> &entries = state.resume.listings[page];
            for (const QJsonValue &value : QJsonDocument::fromJson(query.value(2).toString().toUtf8()).array())
                entries.append({value[0].toString(), value[1].toString(), value[2].toString(), QString(),
                                value[3].toString(), value[4].toString()});
        }
    }
    // Page order first: a page that failed and was read by a later run still goes in its place.
    if (exec(query, u"SELECT seq, page, entry_id, share_code, line FROM job_entries WHERE job = ? ORDER BY page, seq"_s,
             {name})) {
        while (query.next()) {
            state.nextSeq = std::max(state.nextSeq, query.value(0).toLongLong() + 1);
            const QString entryId = query.value(2).toString();
            state.resume.doneEntries.insert(Crawl::ResumePoint::entryKey(query.value(1).toInt(), entryId));
            state.resume.seenEntryIds.insert(entryId);
            if (const QString code = query.value(3).toString(); !code.isEmpty())
                state.resume.seenShareCodes.insert(code);
            if (!query.value(4).isNull())
                state.lines.append(query.value(4).toString());
        }
    }
    return state;
}

QStringList jobLines(const Store &store, const QString &name)
{
    QStringList lines;
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    if (exec(query, u"SELECT line FROM job_entries WHERE job = ? AND line IS NOT NULL ORDER BY page, seq"_s, {name}))
        while (query.next())
            lines.append(query.value(0).toString());
    return lines;
}

QString addJobEntry(Store &store, const QString &name, qint64 seq, int page, const Harvest::ResourceEntry &entry,
                    const QString &line)
{
    QSqlQuery query(store.database());
    if (!exec(query, u"INSERT OR REPLACE INTO job_entries(job, seq, page, entry_id, share_code, line) VALUES(?, ?, ?, ?, ?, ?)"_s,
              {name, seq, page, entry.entryId, entry.shareCode.isNull() ? u""_s : entry.shareCode,
               line.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(line)}))
        return query.lastError().text();
    return {};
}

QString markJobPageDone(Store &store, const QString &name, int page)
{
    QSqlQuery query(store.database());
    if (!exec(query, u"INSERT INTO job_pages(job, page, done) VALUES(?, ?, 1)"
                     " ON CONFLICT(job, page) DO UPDATE SET done = 1, entries = NULL"_s,
              {name, page}))
        return query.lastError().text();
    return {};
}

QString keepJobListing(Store &store, const QString &name, int page, const QList<Harvest::ResourceEntry> &entries)
{
    QJsonArray array;
    for (const Harvest::ResourceEntry &entry : entries)
        array.append(QJsonArray{entry.number, entry.title, entry.fileCount, entry.entryId, entry.extractionCode});
    QSqlQuery query(store.database());
    if (!exec(query, u"INSERT INTO job_pages(job, page, done, entries) VALUES(?, ?, 0, ?)"
                     " ON CONFLICT(job, page) DO UPDATE SET entries = excluded.entries"_s,
              {name, page, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact))}))
        return query.lastError().text();
    return {};
}

} // namespace Library
