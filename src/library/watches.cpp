#include "library/watches.h"

#include "library/sqlexec.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

const QString kColumns = u"SELECT name, keyword, first_page, last_page, every_seconds, check_links, created_at,"
                        " last_run_at, last_new FROM watches"_s;

Watch watchOf(const QSqlQuery &query)
{
    Watch watch;
    watch.name = query.value(0).toString();
    watch.keyword = query.value(1).toString();
    watch.firstPage = query.value(2).toInt();
    watch.lastPage = query.value(3).toInt();
    watch.every = std::chrono::seconds(query.value(4).toLongLong());
    watch.checkLinks = query.value(5).toBool();
    watch.createdAt = timeOf(query.value(6));
    watch.lastRunAt = timeOf(query.value(7));
    if (!query.value(8).isNull())
        watch.lastNew = query.value(8).toInt();
    return watch;
}

// Runs sql with binds; SQLite's error text, empty on success.
QString run(QSqlQuery &query, const QString &sql, const QVariantList &binds)
{
    return exec(query, sql, binds) ? QString() : query.lastError().text();
}

QList<Watch> select(const Store &store, const QString &where, const QVariantList &binds)
{
    QList<Watch> found;
    QSqlQuery query(store.database());
    if (!run(query, kColumns + where + u" ORDER BY name"_s, binds).isEmpty())
        return found;
    while (query.next())
        found.append(watchOf(query));
    return found;
}

} // namespace

bool Watch::isDue(const QDateTime &now) const
{
    return !lastRunAt.isValid() || lastRunAt.secsTo(now) >= every.count();
}

QString Watch::what() const
{
    if (!keyword.isEmpty())
        return keyword;
    if (firstPage == lastPage)
        return u"page "_s + QString::number(firstPage);
    return u"pages "_s + QString::number(firstPage) + u'-' + QString::number(lastPage);
}

QString saveWatch(Store &store, const Watch &watch)
{
    const bool pages = watch.keyword.isEmpty();
    const QVariant none(QMetaType::fromType<int>());
    QSqlQuery query(store.database());
    return run(query,
               u"INSERT INTO watches(name, keyword, first_page, last_page, every_seconds, check_links, created_at)"
               " VALUES(?, ?, ?, ?, ?, ?, ?) ON CONFLICT(name) DO UPDATE SET keyword = excluded.keyword,"
               " first_page = excluded.first_page, last_page = excluded.last_page,"
               " every_seconds = excluded.every_seconds, check_links = excluded.check_links"_s,
               {watch.name, pages ? QVariant(QMetaType::fromType<QString>()) : QVariant(watch.keyword),
                pages ? QVariant(watch.firstPage) : none, pages ? QVariant(watch.lastPage) : none,
                qint64(watch.every.count()), watch.checkLinks ? 1 : 0, QDateTime::currentMSecsSinceEpoch()});
}

QString removeWatch(Store &store, const QString &name, bool &removed)
{
    QSqlQuery query(store.database());
    const QString error = run(query, u"DELETE FROM watches WHERE name = ?"_s, {name});
    removed = error.isEmpty() && query.numRowsAffected() > 0;
    return error;
}

QString recordWatchRun(Store &store, const QString &name, const QDateTime &at, int newShares)
{
    QSqlQuery query(store.database());
    return run(query, u"UPDATE watches SET last_run_at = ?, last_new = ? WHERE name = ?"_s,
               {at.toMSecsSinceEpoch(), newShares, name});
}

QList<Watch> watches(const Store &store)
{
    return select(store, {}, {});
}

std::optional<Watch> watchNamed(const Store &store, const QString &name)
{
    const QList<Watch> found = select(store, u" WHERE name = ?"_s, {name});
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

} // namespace Library
