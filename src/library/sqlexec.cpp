#include "library/sqlexec.h"

#include <QSqlError>

namespace Library {

bool exec(QSqlQuery &query, const QString &sql, const QVariantList &binds)
{
    if (!query.prepare(sql))
        return false;
    for (const QVariant &value : binds)
        query.addBindValue(value);
    return query.exec();
}

QVariant storedText(const QString &value)
{
    return value.isNull() ? QVariant(QString(QLatin1StringView(""))) : QVariant(value);
}

QString errorOf(const QSqlQuery &query)
{
    return query.lastError().text();
}

qint64 msecsOrNow(const QDateTime &time)
{
    return time.isValid() ? time.toMSecsSinceEpoch() : QDateTime::currentMSecsSinceEpoch();
}

QDateTime timeOf(const QVariant &value)
{
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

} // namespace Library
