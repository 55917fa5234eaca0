#pragma once

#include <QSqlDatabase>
#include <QString>

namespace Library {

// Brings the library's tables from version `from` (user_version; 0: an empty file) up to `to`,
// one transaction per step, each step setting user_version as it commits. Returns SQLite's
// error text, empty on success; a failed step leaves the file at the version before it.
QString migrate(QSqlDatabase &db, int from, int to);

// The title as searches compare it: case-folded, so "S01" finds "s01".
QString searchableTitle(const QString &title);

} // namespace Library
