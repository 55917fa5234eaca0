#pragma once

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

// What every query of the library's files does the same way.
namespace Library {

// Prepares sql on query, binds binds in order and runs it; the query stays for reading its rows.
bool exec(QSqlQuery &query, const QString &sql, const QVariantList &binds = {});

// Qt binds a null QString as NULL; the library's text columns hold "" for "none".
QVariant storedText(const QString &value);

QString errorOf(const QSqlQuery &query);

// A time as the library stores it, milliseconds since the epoch; now when time is invalid.
qint64 msecsOrNow(const QDateTime &time);

// A time as the library keeps it (milliseconds since the epoch, UTC); NULL: an invalid time.
QDateTime timeOf(const QVariant &value);

} // namespace Library
