#include "library/schema.h"

#include "library/store.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <functional>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

QString run(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        return query.lastError().text();
    return {};
}

QString runAll(QSqlDatabase &db, std::initializer_list<const char16_t *> statements)
{
    for (const char16_t *sql : statements)
        if (QString error = run(db, QString::fromUtf16(sql)); !error.isEmpty())
            return error;
    return {};
}

// Shares, where they were seen and the runs that saw them.
QString toVersion1(QSqlDatabase &db)
{
    return runAll(db, {
        u"CREATE TABLE runs(id INTEGER PRIMARY KEY, kind TEXT NOT NULL, subject TEXT NOT NULL,"
        " started_at INTEGER NOT NULL, ended_at INTEGER, outcome TEXT)",
        u"CREATE TABLE shares(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE, title TEXT NOT NULL,"
        " file_count TEXT NOT NULL DEFAULT '', entry_id TEXT NOT NULL DEFAULT '', share_code TEXT NOT NULL DEFAULT '',"
        " extraction_code TEXT NOT NULL DEFAULT '', share_url TEXT NOT NULL DEFAULT '',"
        " first_seen INTEGER NOT NULL, last_seen INTEGER NOT NULL, times_seen INTEGER NOT NULL DEFAULT 1,"
        " hidden INTEGER NOT NULL DEFAULT 0, copied_at INTEGER, opened_at INTEGER, first_source TEXT NOT NULL DEFAULT '')",
        u"CREATE INDEX shares_entry_id ON shares(entry_id)",
        u"CREATE INDEX shares_first_seen ON shares(first_seen)",
        u"CREATE INDEX shares_last_seen ON shares(last_seen)",
        u"CREATE TABLE sightings(id INTEGER PRIMARY KEY,"
        " share_id INTEGER NOT NULL REFERENCES shares(id) ON DELETE CASCADE,"
        " run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
        " page INTEGER, keyword TEXT, number INTEGER, seen_at INTEGER NOT NULL)",
        u"CREATE INDEX sightings_share ON sightings(share_id)",
        u"CREATE INDEX sightings_run ON sightings(run_id)",
    });
}

// Link checks with their history; the latest is copied onto the share for filters and sorting.
QString toVersion2(QSqlDatabase &db)
{
    return runAll(db, {
        u"CREATE TABLE link_checks(id INTEGER PRIMARY KEY,"
        " share_id INTEGER NOT NULL REFERENCES shares(id) ON DELETE CASCADE,"
        " checked_at INTEGER NOT NULL, state TEXT NOT NULL, reason TEXT NOT NULL DEFAULT '', status INTEGER NOT NULL DEFAULT 0)",
        u"CREATE INDEX link_checks_share ON link_checks(share_id, checked_at)",
        u"ALTER TABLE shares ADD COLUMN link_state TEXT",
        u"ALTER TABLE shares ADD COLUMN link_reason TEXT NOT NULL DEFAULT ''",
        u"ALTER TABLE shares ADD COLUMN link_checked_at INTEGER",
        u"CREATE INDEX shares_link_state ON shares(link_state)",
    });
}

// The folded titles that searches read (by LIKE, or by the full-text index built on them), and
// the table that says whether that index is up to date.
QString toVersion3(QSqlDatabase &db)
{
    if (QString error = runAll(db, {u"ALTER TABLE shares ADD COLUMN title_folded TEXT NOT NULL DEFAULT ''",
                                    u"CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL)"});
        !error.isEmpty())
        return error;
    QSqlQuery select(db);
    select.setForwardOnly(true);
    if (!select.exec(u"SELECT id, title FROM shares"_s))
        return select.lastError().text();
    QSqlQuery update(db);
    update.prepare(u"UPDATE shares SET title_folded = ? WHERE id = ?"_s);
    while (select.next()) {
        update.addBindValue(searchableTitle(select.value(1).toString()));
        update.addBindValue(select.value(0));
        if (!update.exec())
            return update.lastError().text();
    }
    return {};
}

// Crawl jobs that resume where they stopped, and watches: saved incremental crawls. A job keeps
// each listing page's entries as read, and its rows as written (line) with the entry each came
// from, so a resumed job reads no page twice, rewrites its output whole and skips what it did.
QString toVersion4(QSqlDatabase &db)
{
    return runAll(db, {
        u"CREATE TABLE jobs(name TEXT PRIMARY KEY, parameters TEXT NOT NULL, created_at INTEGER NOT NULL,"
        " updated_at INTEGER NOT NULL, finished_at INTEGER, outcome TEXT)",
        u"CREATE TABLE job_pages(job TEXT NOT NULL REFERENCES jobs(name) ON DELETE CASCADE,"
        " page INTEGER NOT NULL, done INTEGER NOT NULL DEFAULT 0, entries TEXT, PRIMARY KEY(job, page))",
        u"CREATE TABLE job_entries(job TEXT NOT NULL REFERENCES jobs(name) ON DELETE CASCADE,"
        " seq INTEGER NOT NULL, page INTEGER NOT NULL, entry_id TEXT NOT NULL, share_code TEXT NOT NULL DEFAULT '',"
        " line TEXT, PRIMARY KEY(job, seq))",
        u"CREATE TABLE watches(name TEXT PRIMARY KEY, keyword TEXT, first_page INTEGER, last_page INTEGER,"
        " every_seconds INTEGER NOT NULL, check_links INTEGER NOT NULL DEFAULT 0, created_at INTEGER NOT NULL,"
        " last_run_at INTEGER, last_new INTEGER)",
    });
}

// The window's sort by times seen: every share has much the same count, so without an index
// SQLite sorts the whole table to find the first rows.
QString toVersion5(QSqlDatabase &db)
{
    return run(db, u"CREATE INDEX shares_times_seen ON shares(times_seen)"_s);
}

// Sightings as recorded, before they are filed into shares and sightings: a row's commit then
// writes one page of this table instead of a page of every index of those two.
QString toVersion6(QSqlDatabase &db)
{
    return run(db, u"CREATE TABLE incoming(id INTEGER PRIMARY KEY, run_id INTEGER NOT NULL, seen_at INTEGER NOT NULL,"
                   " number TEXT NOT NULL, title TEXT NOT NULL, file_count TEXT NOT NULL, entry_id TEXT NOT NULL,"
                   " share_code TEXT NOT NULL, extraction_code TEXT NOT NULL, share_url TEXT NOT NULL, page INTEGER,"
                   " keyword TEXT NOT NULL, link_state TEXT, link_reason TEXT NOT NULL, link_checked_at INTEGER,"
                   " link_status INTEGER NOT NULL)"_s);
}

using Step = QString (*)(QSqlDatabase &);
constexpr std::array<Step, kSchemaVersion> kSteps{toVersion1, toVersion2, toVersion3, toVersion4, toVersion5, toVersion6};

} // namespace

QString searchableTitle(const QString &title)
{
    return title.toCaseFolded();
}

QString migrate(QSqlDatabase &db, int from, int to)
{
    for (int version = from; version < to; ++version) {
        if (!db.transaction())
            return db.lastError().text();
        QString error = kSteps[static_cast<std::size_t>(version)](db);
        if (error.isEmpty())
            error = run(db, u"PRAGMA user_version = "_s + QString::number(version + 1));
        if (error.isEmpty() && !db.commit())
            error = db.lastError().text();
        if (!error.isEmpty()) {
            db.rollback();
            return u"schema version "_s + QString::number(version + 1) + u": "_s + error;
        }
    }
    return {};
}

} // namespace Library
