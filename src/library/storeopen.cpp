#include "library/schema.h"
#include "library/store.h"
#include "library/storefile.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

struct Connection
{
    QString name;
    QString error;
    bool damaged = false;
};

bool isDamage(const QSqlError &error)
{
    // Extended result codes keep the primary code in their low byte.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

QString uniqueConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return u"vorlen-library-"_s + QString::number(++counter);
}

// The first column of the first row of sql, or an invalid value (error gets why).
QVariant scalar(const QSqlDatabase &db, const QString &sql, QSqlError *error = nullptr)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next()) {
        if (error)
            *error = query.lastError();
        return {};
    }
    return query.value(0);
}

// A program that ends leaves its journal for the next one instead of copying it into the file
// and waiting twice for the disk on its way out: a crawl's run would take longer with the
// library than without. SQLite still copies the journal whenever it passes 1000 pages.
void keepJournalAtClose(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    if (sqlite3 *native = *static_cast<sqlite3 *const *>(handle.constData()))
        sqlite3_db_config(native, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

// Opens path and, when asked, checks it; a file that SQLite finds damaged says so rather than failing.
Connection connectTo(const QString &path, bool readOnly, bool check = true)
{
    Connection connection;
    connection.name = uniqueConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection.name);
    db.setDatabaseName(path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s + (readOnly ? u";QSQLITE_OPEN_READONLY"_s : QString()));
    if (!db.open()) {
        connection.damaged = isDamage(db.lastError());
        connection.error = db.lastError().text();
        return connection;
    }
    QSqlError error;
    if (!readOnly) {
        // A file the user may not write still opens: its recording fails later, one warning a run.
        if (!scalar(db, u"PRAGMA journal_mode=WAL"_s, &error).isValid() && isDamage(error)) {
            connection.damaged = true;
            return connection;
        }
        scalar(db, u"PRAGMA synchronous=NORMAL"_s);
        // A big import's journal shrinks back once copied into the file.
        scalar(db, u"PRAGMA journal_size_limit=4194304"_s);
        keepJournalAtClose(db);
    }
    scalar(db, u"PRAGMA foreign_keys=ON"_s);
    if (!check)
        return connection;
    const QVariant answer = scalar(db, u"PRAGMA quick_check"_s, &error);
    // A check that could not run for a lock says nothing of damage; only what SQLite found does.
    if (answer.isValid() ? answer.toString() != u"ok" : isDamage(error))
        connection.damaged = true;
    return connection;
}

// Builds or refreshes the trigram index when this SQLite has FTS5; false: searches use LIKE.
bool prepareFullTextSearch(QSqlDatabase &db, bool wanted, bool readOnly)
{
    const bool available = scalar(db, u"SELECT sqlite_compileoption_used('ENABLE_FTS5')"_s).toInt() == 1;
    const bool exists = scalar(db, u"SELECT COUNT(*) FROM sqlite_master WHERE name = 'share_search'"_s).toInt() > 0;
    // An index without its high-water mark cannot tell which titles it lacks: it is built anew.
    const bool stale = scalar(db, u"SELECT value FROM meta WHERE key = 'search_index'"_s).toString() == u"stale"
        || !scalar(db, u"SELECT value FROM meta WHERE key = 'indexed_through'"_s).isValid();
    if (readOnly)
        return wanted && available && exists && !stale;
    QSqlQuery query(db);
    if (!wanted || !available) {
        // Titles written from now on miss the index: whoever opens with FTS5 rebuilds it.
        if (exists)
            query.exec(u"INSERT OR REPLACE INTO meta(key, value) VALUES('search_index', 'stale')"_s);
        return false;
    }
    if (exists && !stale)
        return true;
    if (!db.transaction())
        return false;
    const bool built =
        (exists
         || query.exec(u"CREATE VIRTUAL TABLE share_search USING fts5(title_folded, content='shares',"
                       " content_rowid='id', tokenize='trigram case_sensitive 1')"_s))
        && query.exec(u"INSERT INTO share_search(share_search) VALUES('rebuild')"_s)
        && query.exec(u"INSERT OR REPLACE INTO meta(key, value) VALUES('search_index', 'ready')"_s)
        && query.exec(u"INSERT OR REPLACE INTO meta(key, value) SELECT 'indexed_through', COALESCE(MAX(id), 0) FROM shares"_s);
    if (!built || !db.commit()) {
        db.rollback();
        return false;
    }
    return true;
}

} // namespace

Opened openStore(const QString &path, OpenOptions options)
{
    Opened opened;
    if (!QSqlDatabase::isDriverAvailable(u"QSQLITE"_s)) {
        opened.error = u"Qt's SQLite driver is not installed (libqt6sql6-sqlite)"_s;
        return opened;
    }
    switch (fileKindOf(path)) {
    case FileKind::Foreign:
        opened.error = path + u" is not an SQLite file; it was left untouched"_s;
        return opened;
    case FileKind::Unreadable:
        opened.error = path + u" cannot be read"_s;
        return opened;
    case FileKind::Missing:
        QDir().mkpath(QFileInfo(path).absolutePath());
        break;
    case FileKind::Sqlite: break;
    }

    Connection connection = connectTo(path, false);
    if (connection.damaged) {
        closeConnection(connection.name);
        const QString aside = setAside(path);
        if (aside.isEmpty()) {
            opened.error = path + u" is damaged and could not be moved aside"_s;
            return opened;
        }
        opened.notice = path + u" was damaged: it was moved to "_s + aside + u" and a new library started"_s;
        connection = connectTo(path, false);
    }
    if (!connection.error.isEmpty() || connection.damaged) {
        closeConnection(connection.name);
        opened.error = path + u": "_s + (connection.error.isEmpty() ? u"damaged"_s : connection.error);
        return opened;
    }

    QSqlDatabase db = QSqlDatabase::database(connection.name, false);
    const int version = scalar(db, u"PRAGMA user_version"_s).toInt();
    bool readOnly = false;
    if (version > kSchemaVersion) {
        db = {};
        closeConnection(connection.name);
        connection = connectTo(path, true);
        db = QSqlDatabase::database(connection.name, false);
        readOnly = true;
        opened.notice = path + u" was written by a newer version of this program (schema "_s + QString::number(version)
            + u"); it is opened read-only"_s;
    } else if (const QString error = migrate(db, version, kSchemaVersion); !error.isEmpty()) {
        db = {};
        closeConnection(connection.name);
        opened.error = path + u": "_s + error;
        return opened;
    }
    const bool fullText = prepareFullTextSearch(db, options.fullTextSearch, readOnly);
    db = {};
    opened.store.reset(new Store(connection.name, path, readOnly, fullText));
    // What a run that was killed left out.
    opened.store->fileIncoming();
    opened.store->indexPendingTitles();
    return opened;
}

std::unique_ptr<Store> Store::anotherConnection() const
{
    const Connection connection = connectTo(m_path, m_readOnly, false);
    if (!connection.error.isEmpty()) {
        closeConnection(connection.name);
        return nullptr;
    }
    return std::unique_ptr<Store>(new Store(connection.name, m_path, m_readOnly, m_fullText));
}

} // namespace Library
