#pragma once

#include <QString>

// What the library does with its file before SQL can be trusted with it.
namespace Library {

enum class FileKind {
    Missing, // no file, or an empty one: SQLite starts it
    Sqlite,  // begins with SQLite's header
    Foreign, // anything else: never written
    Unreadable,
};

FileKind fileKindOf(const QString &path);

// Moves a damaged library and its journal files aside as "<path>.damaged-YYYYMMDD-HHMMSS";
// returns the new name, empty when it could not be moved.
QString setAside(const QString &path);

// Closes and forgets a connection of QSqlDatabase's registry.
void closeConnection(const QString &connection);

} // namespace Library
