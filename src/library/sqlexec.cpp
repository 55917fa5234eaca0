#include "library/sqlexec.h"

namespace Library {

bool exec(QSqlQuery &query, const QString &sql, const QVariantList &binds)
{
    if (!query.prepare(sql))
        return false;
    for (const QVariant &value : binds)
        query.addBindValue(value);
    return query.exec();
}

QDateTime timeOf(const QVariant &value)
{
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

} // namespace Library
