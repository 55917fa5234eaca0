#pragma once

#include "crawl/linkstate.h"
#include "library/sharerecord.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

// The resource library: every share ever harvested, with where and when it was seen and how its
// link fared, in one SQLite file. Nothing here shows anything; the front ends do.
namespace Library {

// The newest schema this program writes; migrations bring every older file up to it.
inline constexpr int kSchemaVersion = 6;

struct OpenOptions
{
    // false: search as a SQLite without FTS5 would, by LIKE alone (the fallback's tests).
    bool fullTextSearch = true;
};

class Store;

// "page", "search", "crawl", "import", "watch": how runs are named in the file.
QString runKindName(RunKind kind);

// What opening a library file came to.
struct Opened
{
    std::unique_ptr<Store> store; // null when there is no library to use (error says why)
    QString notice; // one line the user should read: a damaged file set aside, a newer file opened read-only
    QString error;  // why there is no library: the file is not SQLite, cannot be opened or created
};

// Opens (creating when missing) the library at path: WAL, synchronous=NORMAL, a 5 s busy
// timeout, then a quick check and the migrations up to kSchemaVersion. A damaged file is
// renamed "<path>.damaged-YYYYMMDD-HHMMSS" and a new one started; a file of a newer schema opens
// read-only; a file that is not SQLite is refused and never written.
Opened openStore(const QString &path, OpenOptions options = {});

struct Stats
{
    qint64 shares = 0;
    qint64 hidden = 0;
    qint64 withCode = 0;      // shares with a share code
    qint64 sightings = 0;
    qint64 runs = 0;
    QMap<QString, qint64> byLinkState; // state name -> shares whose latest check came to it; "unchecked" too
    QDateTime firstSeen;      // of the oldest share; invalid when empty
    QDateTime lastSeen;
};

using LinkCheck = Crawl::LinkCheck;

class Store
{
public:
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    const QString &path() const { return m_path; }
    bool isReadOnly() const { return m_readOnly; }
    bool hasFullTextSearch() const { return m_fullText; }
    // The connection, for the queries of the library's own files.
    QSqlDatabase database() const;
    // A second connection to the same file for the calling thread (a connection serves the
    // thread that made it), without the checks of opening: they were made. Null when it fails.
    std::unique_ptr<Store> anotherConnection() const;

    // Recording. Each returns the error text of SQLite, empty on success.
    QString startRun(RunKind kind, const QString &subject, qint64 &runId);
    // Files what was recorded (fileIncoming), then marks the run ended.
    QString endRun(qint64 runId, const QString &outcome);
    // One transaction: the sighting in runId, with its link check when given, kept as it came.
    // Shares and searches show it once it is filed: every 64 rows or 2 s of this connection's
    // recording, at the end of any run and at the next opening after a kill.
    QString record(qint64 runId, const Sighting &sighting);
    // The same, with more work of the caller's (e.g. a crawl job's state) in that transaction:
    // both are kept, or neither.
    QString record(qint64 runId, const Sighting &sighting, const std::function<QString()> &alongside);
    // Files every sighting recorded and not yet filed, by any connection, in one transaction:
    // the share inserted or updated, its sighting and its link check.
    QString fileIncoming();
    // Runs work in one transaction, holding the file's write lock from the start (so that its
    // reads cannot go stale before it writes): committed when work returns no error, else
    // rolled back.
    QString inTransaction(const std::function<QString()> &work);
    // Many sightings filed at once, in one transaction (imports, generated libraries).
    QString recordBatch(qint64 runId, const QList<Sighting> &sightings);
    // Adds the titles recorded since the last call to the trigram index, in one transaction:
    // recording leaves them out (searches read them by LIKE meanwhile), since an index segment
    // per row would cost a crawl more than its rows.
    QString indexPendingTitles();
    // Stores a check of the share keyed key (its share URL); a share not in the library is
    // ignored (no error).
    QString recordLinkCheck(const QString &key, const LinkCheck &check);

    std::optional<LinkCheck> latestLinkCheck(const QString &key) const;
    QList<LinkCheck> linkHistory(qint64 shareId) const; // newest first

    // Queries.
    QList<ShareRecord> search(const Query &query) const;
    QList<qint64> matchingIds(const Query &query) const; // in the query's order, up to its limit
    QList<ShareRecord> records(const QList<qint64> &ids) const; // in the order of ids; missing ids skipped
    // First sighting of each key in keys that is in the library.
    QHash<QString, QDateTime> firstSeen(const QStringList &keys) const;
    Stats stats() const;

    // Changes the user asks for; each returns SQLite's error text, empty on success.
    QString setHidden(const QList<qint64> &ids, bool hidden);
    QString markCopied(const QList<qint64> &ids, const QDateTime &when);
    QString markOpened(const QList<qint64> &ids, const QDateTime &when);
    // Drops the shares last seen before `before`, their sightings and checks, and the runs that
    // ended before it; forgotten gets the number of shares dropped.
    QString forgetBefore(const QDateTime &before, qint64 &forgotten);

private:
    friend Opened openStore(const QString &path, OpenOptions options);
    Store(QString connection, QString path, bool readOnly, bool fullText);
    // Inserts or updates the share, adds its sighting and its link check: the work of filing.
    QString fileSighting(qint64 runId, const Sighting &sighting);
    QString appendIncoming(qint64 runId, const Sighting &sighting);
    // Counts a row recorded, and files them all when there are enough or the first waited long.
    QString noteUnfiled();
    qint64 indexedThrough() const;
    // Runs the query's SELECT of columns from the shares, filtered and ordered as it says.
    bool selectShares(QSqlQuery &select, const QString &columns, const Query &query) const;
    // Runs sql with binds as a statement prepared once for the connection (the recording's are
    // run for every row); query points at it.
    bool runPrepared(const QString &sql, const QVariantList &binds, QSqlQuery *&query);
    QString insertLinkCheck(qint64 shareId, const LinkCheck &check);
    // Sets one column of the shares ids to value, in one transaction.
    QString updateIds(const QString &column, const QVariant &value, const QList<qint64> &ids);

    QString m_connection;
    QString m_path;
    bool m_readOnly = false;
    bool m_fullText = false;
    int m_unfiled = 0;                 // rows this connection recorded since it last filed
    QElapsedTimer m_sinceFirstUnfiled; // running while m_unfiled > 0
    std::map<QString, QSqlQuery> m_statements; // by their SQL; the nodes stay where they are
};

} // namespace Library
