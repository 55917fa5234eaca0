#include "library/storefile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

// Every SQLite database file begins with these 16 bytes.
constexpr char kSqliteHeader[] = "SQLite format 3";
constexpr qint64 kHeaderSize = sizeof kSqliteHeader; // the closing NUL belongs to it

} // namespace

FileKind fileKindOf(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return FileKind::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Unreadable;
    const QByteArray head = file.read(kHeaderSize);
    if (head.isEmpty())
        return file.error() == QFileDevice::NoError ? FileKind::Missing : FileKind::Unreadable;
    return head == QByteArray(kSqliteHeader, kHeaderSize) ? FileKind::Sqlite : FileKind::Foreign;
}

QString setAside(const QString &path)
{
    const QString aside = path + u".damaged-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    if (QFileInfo::exists(aside) || !QFile::rename(path, aside))
        return {};
    // The journal belongs to the damaged file; the shared-memory index is rebuilt from it.
    QFile::rename(path + u"-wal"_s, aside + u"-wal"_s);
    QFile::remove(path + u"-shm"_s);
    return aside;
}

void closeConnection(const QString &connection)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace Library
