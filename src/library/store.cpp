#include "library/store.h"

#include "library/schema.h"
#include "library/sqlexec.h"
#include "library/storefile.h"

#include <QAtomicInteger>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

constexpr int kBusyTimeoutMs = 5000;
// Bound parameters per IN (...) list; SQLite allows 32766, shorter lists plan faster.
constexpr qsizetype kIdsPerQuery = 500;
const QString kSearchIndex = u"share_search"_s;

QVariant msecs(const QDateTime &time)
{
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch()) : QVariant(QMetaType::fromType<qint64>());
}

QString placeholders(qsizetype count)
{
    QString text;
    text.reserve(count * 2);
    for (qsizetype i = 0; i < count; ++i)
        text += i == 0 ? u"?"_s : u",?"_s;
    return text;
}

QString sourceOf(const Sighting &sighting)
{
    return sighting.page ? u"page "_s + QString::number(*sighting.page) : sighting.keyword;
}

QString keyOf(const Sighting &sighting)
{
    return sighting.shareUrl.isEmpty() ? sighting.entry.entryId : sighting.shareUrl;
}

// The columns records() and search() read, in ShareRecord order.
constexpr auto kRecordColumns =
    u"id, key, title, file_count, entry_id, share_code, extraction_code, share_url, first_seen, last_seen,"
    " times_seen, hidden, copied_at, opened_at, first_source, link_state, link_reason, link_checked_at";

ShareRecord recordOf(const QSqlQuery &query)
{
    ShareRecord record;
    record.id = query.value(0).toLongLong();
    record.key = query.value(1).toString();
    record.title = query.value(2).toString();
    record.fileCount = query.value(3).toString();
    record.entryId = query.value(4).toString();
    record.shareCode = query.value(5).toString();
    record.extractionCode = query.value(6).toString();
    record.shareUrl = query.value(7).toString();
    record.firstSeen = timeOf(query.value(8));
    record.lastSeen = timeOf(query.value(9));
    record.timesSeen = query.value(10).toInt();
    record.hidden = query.value(11).toBool();
    record.copiedAt = timeOf(query.value(12));
    record.openedAt = timeOf(query.value(13));
    record.firstSource = query.value(14).toString();
    if (const auto state = Crawl::parseLinkState(query.value(15).toString())) {
        const auto reason = Crawl::parseDeadReason(query.value(16).toString());
        record.link = Crawl::LinkVerdict{*state, reason.value_or(Crawl::DeadReason::None)};
        record.linkCheckedAt = timeOf(query.value(17));
    }
    return record;
}

QString orderOf(SortColumn column)
{
    switch (column) {
    case SortColumn::LastSeen: return u"last_seen"_s;
    case SortColumn::FirstSeen: return u"first_seen"_s;
    case SortColumn::Title: return u"title"_s;
    case SortColumn::FileCount: return u"CAST(file_count AS INTEGER)"_s;
    case SortColumn::ShareCode: return u"share_code"_s;
    case SortColumn::ExtractionCode: return u"extraction_code"_s;
    case SortColumn::LinkState: return u"link_state"_s;
    case SortColumn::TimesSeen: return u"times_seen"_s;
    }
    return u"last_seen"_s;
}

// "%text%" for LIKE, its wildcards taken literally.
QString likePattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', u"\\\\"_s).replace(u'%', u"\\%"_s).replace(u'_', u"\\_"_s);
    return u'%' + escaped + u'%';
}

// An FTS5 string that matches text as it stands, operators and all.
QString phrase(const QString &text)
{
    return u'"' + QString(text).replace(u'"', u"\"\""_s) + u'"';
}

// The trigram index answers substrings of three characters or more; shorter ones need LIKE.
bool trigramCanAnswer(const QString &folded)
{
    return folded.toUcs4().size() >= 3;
}

// What filing a sighting reads of the share it belongs to (onlySeenAgain), found by where.
// Built once: filing runs it for every row.
const QString &selectKnown(bool byEntryId)
{
    static const QString columns =
        u"SELECT id, title_folded, key, title, file_count, entry_id, share_code, extraction_code, share_url, first_seen"
        " FROM shares WHERE key = ?"_s;
    static const QString withoutCode = columns + u" AND share_code = ''"_s;
    return byEntryId ? withoutCode : columns;
}

// Whether a sighting of the share found by selectKnown brings nothing new but its time.
bool onlySeenAgain(const QSqlQuery &found, const QString &key, const Sighting &sighting, qint64 seen)
{
    const auto kept = [&found](int column, const QString &value) {
        return value.isEmpty() || found.value(column).toString() == value;
    };
    const Harvest::ResourceEntry &entry = sighting.entry;
    return found.value(2).toString() == key && found.value(3).toString() == entry.title && kept(4, entry.fileCount)
        && kept(5, entry.entryId) && kept(6, entry.shareCode) && kept(7, entry.extractionCode)
        && kept(8, sighting.shareUrl) && found.value(9).toLongLong() <= seen;
}

// The last share id the trigram index holds (Store::indexPendingTitles).
constexpr auto kIndexedThrough = u"(SELECT CAST(value AS INTEGER) FROM meta WHERE key = 'indexed_through')";

struct Where
{
    QString sql;
    QVariantList binds;
};

Where whereOf(const Query &query, bool fullText)
{
    QStringList terms;
    Where where;
    if (!query.text.isEmpty()) {
        const QString folded = searchableTitle(query.text);
        if (fullText && trigramCanAnswer(folded)) {
            // Titles recorded since the index was last brought up to date are read by LIKE.
            terms += u"(id IN (SELECT rowid FROM share_search WHERE share_search MATCH ?) OR (id > "_s
                + QString::fromUtf16(kIndexedThrough) + u" AND title_folded LIKE ? ESCAPE '\\'))"_s;
            where.binds += phrase(folded);
            where.binds += likePattern(folded);
        } else {
            terms += u"title_folded LIKE ? ESCAPE '\\'"_s;
            where.binds += likePattern(folded);
        }
    }
    if (!query.states.isEmpty()) {
        QStringList states;
        for (const Crawl::LinkState state : query.states) {
            states += u"?"_s;
            where.binds += Crawl::linkStateName(state);
        }
        const bool unchecked = query.states.contains(Crawl::LinkState::Unknown);
        terms += u"(link_state IN ("_s + states.join(u',') + u")"_s + (unchecked ? u" OR link_state IS NULL)"_s : u")"_s);
    }
    if (query.since.isValid()) {
        terms += u"first_seen >= ?"_s;
        where.binds += query.since.toMSecsSinceEpoch();
    }
    if (query.source == SourceKind::Watch) {
        // Shares a watch found: seen in a run of kind watch, whose subject is the watch's name.
        QString sighting = u"EXISTS (SELECT 1 FROM sightings s JOIN runs r ON r.id = s.run_id"
                           " WHERE s.share_id = shares.id AND r.kind = ?"_s;
        where.binds += runKindName(RunKind::Watch);
        if (!query.sourceValue.isEmpty()) {
            sighting += u" AND r.subject = ?"_s;
            where.binds += query.sourceValue;
        }
        terms += sighting + u')';
    } else if (query.source != SourceKind::Any) {
        const bool page = query.source == SourceKind::Page;
        QString sighting = u"EXISTS (SELECT 1 FROM sightings s WHERE s.share_id = shares.id AND "_s
            + (page ? u"s.page IS NOT NULL"_s : u"s.keyword IS NOT NULL"_s);
        if (!query.sourceValue.isEmpty()) {
            sighting += page ? u" AND s.page = ?"_s : u" AND s.keyword = ?"_s;
            where.binds += page ? QVariant(query.sourceValue.toInt()) : QVariant(query.sourceValue);
        }
        terms += sighting + u')';
    }
    if (!query.includeHidden)
        terms += u"hidden = 0"_s;
    if (!terms.isEmpty())
        where.sql = u" WHERE "_s + terms.join(u" AND "_s);
    return where;
}

// Whether the title condition goes through LIKE, which reads every title it is given.
bool searchesByLike(const Query &query, bool fullText)
{
    return !query.text.isEmpty() && !(fullText && trigramCanAnswer(searchableTitle(query.text)));
}

QString orderClause(const Query &query, bool fullText)
{
    const QString direction = query.order == Qt::AscendingOrder ? u" ASC"_s : u" DESC"_s;
    // Walking a sort index pays off when a limit ends the walk early; LIKE over all rows is
    // faster as one pass through the table and a sort of what it found ("+" keeps SQLite off
    // the index).
    const bool scanFirst = query.limit < 0 && searchesByLike(query, fullText);
    QString sql = u" ORDER BY "_s + (scanFirst ? u"+"_s : QString()) + orderOf(query.sort) + direction + u", id"_s + direction;
    if (query.limit >= 0)
        sql += u" LIMIT "_s + QString::number(query.limit);
    return sql;
}

} // namespace

Store::Store(QString connection, QString path, bool readOnly, bool fullText)
    : m_connection(std::move(connection))
    , m_path(std::move(path))
    , m_readOnly(readOnly)
    , m_fullText(fullText)
{
}

Store::~Store()
{
    m_statements.clear(); // they hold the connection
    closeConnection(m_connection);
}

QSqlDatabase Store::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QString Store::startRun(RunKind kind, const QString &subject, qint64 &runId)
{
    QSqlQuery query(database());
    if (!exec(query, u"INSERT INTO runs(kind, subject, started_at) VALUES(?, ?, ?)"_s,
              {runKindName(kind), storedText(subject), QDateTime::currentMSecsSinceEpoch()}))
        return errorOf(query);
    runId = query.lastInsertId().toLongLong();
    return {};
}

QString Store::endRun(qint64 runId, const QString &outcome)
{
    if (QString error = fileIncoming(); !error.isEmpty())
        return error;
    QSqlQuery query(database());
    if (!exec(query, u"UPDATE runs SET ended_at = ?, outcome = ? WHERE id = ?"_s,
              {QDateTime::currentMSecsSinceEpoch(), outcome, runId}))
        return errorOf(query);
    return {};
}

QString Store::recordBatch(qint64 runId, const QList<Sighting> &sightings)
{
    return inTransaction([&] {
        for (const Sighting &sighting : sightings)
            if (QString error = fileSighting(runId, sighting); !error.isEmpty())
                return error;
        return QString();
    });
}

QString Store::inTransaction(const std::function<QString()> &work)
{
    QSqlQuery *control = nullptr;
    if (!runPrepared(u"BEGIN IMMEDIATE"_s, {}, control))
        return errorOf(*control);
    QString error = work();
    if (error.isEmpty() && !runPrepared(u"COMMIT"_s, {}, control))
        error = errorOf(*control);
    if (!error.isEmpty())
        runPrepared(u"ROLLBACK"_s, {}, control);
    return error;
}

bool Store::runPrepared(const QString &sql, const QVariantList &binds, QSqlQuery *&query)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        it = m_statements.emplace(sql, QSqlQuery(database())).first;
        it->second.prepare(sql);
    }
    query = &it->second;
    for (qsizetype i = 0; i < binds.size(); ++i)
        query->bindValue(int(i), binds.at(i));
    return query->exec();
}

QString Store::fileSighting(qint64 runId, const Sighting &sighting)
{
    const Harvest::ResourceEntry &entry = sighting.entry;
    const QString key = keyOf(sighting);
    const qint64 seen = msecsOrNow(sighting.seenAt);
    const QString folded = searchableTitle(entry.title);

    QSqlQuery *find = nullptr;
    if (!runPrepared(selectKnown(false), {key}, find))
        return errorOf(*find);
    bool found = find->next();
    // A share first seen without its code (its detail page failed) is the same share once the
    // code is known: it takes the new key rather than becoming a second row.
    if (!found && !sighting.shareUrl.isEmpty() && !entry.entryId.isEmpty()) {
        find->finish();
        if (!runPrepared(selectKnown(true), {entry.entryId}, find))
            return errorOf(*find);
        found = find->next();
    }

    qint64 shareId = 0;
    QSqlQuery *write = nullptr;
    if (found) {
        shareId = find->value(0).toLongLong();
        const QString oldFolded = find->value(1).toString();
        const bool seenAgain = onlySeenAgain(*find, key, sighting, seen);
        find->finish();
        // Most sightings of a known share change nothing but when and how often it was seen: the
        // indexes of the other columns stay unwritten. A later sighting without a field (a failed
        // detail page) keeps what was known.
        const bool updated = seenAgain
            ? runPrepared(u"UPDATE shares SET last_seen = MAX(last_seen, ?), times_seen = times_seen + 1 WHERE id = ?"_s,
                          {seen, shareId}, write)
            : runPrepared(u"UPDATE shares SET key = ?, title = ?, title_folded = ?,"
                          " file_count = COALESCE(NULLIF(?, ''), file_count), entry_id = COALESCE(NULLIF(?, ''), entry_id),"
                          " share_code = COALESCE(NULLIF(?, ''), share_code),"
                          " extraction_code = COALESCE(NULLIF(?, ''), extraction_code),"
                          " share_url = COALESCE(NULLIF(?, ''), share_url),"
                          " last_seen = MAX(last_seen, ?), first_seen = MIN(first_seen, ?), times_seen = times_seen + 1"
                          " WHERE id = ?"_s,
                          {storedText(key), storedText(entry.title), storedText(folded), storedText(entry.fileCount),
                           storedText(entry.entryId), storedText(entry.shareCode), storedText(entry.extractionCode),
                           storedText(sighting.shareUrl), seen, seen, shareId},
                          write);
        if (!updated)
            return errorOf(*write);
        if (m_fullText && oldFolded != folded && shareId <= indexedThrough()) {
            if (!runPrepared(u"INSERT INTO share_search(share_search, rowid, title_folded) VALUES('delete', ?, ?)"_s,
                             {shareId, oldFolded}, write)
                || !runPrepared(u"INSERT INTO share_search(rowid, title_folded) VALUES(?, ?)"_s, {shareId, folded}, write))
                return errorOf(*write);
        }
    } else {
        find->finish();
        if (!runPrepared(u"INSERT INTO shares(key, title, title_folded, file_count, entry_id, share_code, extraction_code,"
                         " share_url, first_seen, last_seen, first_source) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                         {storedText(key), storedText(entry.title), storedText(folded), storedText(entry.fileCount), storedText(entry.entryId),
                          storedText(entry.shareCode), storedText(entry.extractionCode), storedText(sighting.shareUrl), seen, seen,
                          storedText(sourceOf(sighting))},
                         write))
            return errorOf(*write);
        shareId = write->lastInsertId().toLongLong();
    }

    const QVariant page = sighting.page ? QVariant(*sighting.page) : QVariant(QMetaType::fromType<int>());
    const QVariant keyword =
        sighting.page || sighting.keyword.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(sighting.keyword);
    bool numbered = false;
    const int number = entry.number.toInt(&numbered);
    if (!runPrepared(u"INSERT INTO sightings(share_id, run_id, page, keyword, number, seen_at) VALUES(?, ?, ?, ?, ?, ?)"_s,
                     {shareId, runId, page, keyword, numbered ? QVariant(number) : QVariant(QMetaType::fromType<int>()), seen},
                     write))
        return errorOf(*write);
    return sighting.link ? insertLinkCheck(shareId, *sighting.link) : QString();
}

QString Store::insertLinkCheck(qint64 shareId, const LinkCheck &check)
{
    QSqlQuery *write = nullptr;
    const QString state = Crawl::linkStateName(check.verdict.state);
    const QString reason = Crawl::deadReasonName(check.verdict.reason);
    const qint64 at = msecsOrNow(check.checkedAt);
    // A check taken from the library by a crawl comes back with its row: it is kept once.
    if (!runPrepared(u"INSERT INTO link_checks(share_id, checked_at, state, reason, status) SELECT ?, ?, ?, ?, ?"
                     " WHERE NOT EXISTS (SELECT 1 FROM link_checks WHERE share_id = ? AND checked_at = ?)"_s,
                     {shareId, at, state, storedText(reason), check.status, shareId, at}, write))
        return errorOf(*write);
    // The share shows its latest check; an older one arriving late only joins the history.
    if (!runPrepared(u"UPDATE shares SET link_state = ?, link_reason = ?, link_checked_at = ?"
                     " WHERE id = ? AND (link_checked_at IS NULL OR link_checked_at <= ?)"_s,
                     {state, storedText(reason), at, shareId, at}, write))
        return errorOf(*write);
    return {};
}

QString Store::recordLinkCheck(const QString &key, const LinkCheck &check)
{
    QSqlQuery find(database());
    if (!exec(find, u"SELECT id FROM shares WHERE key = ?"_s, {key}))
        return errorOf(find);
    if (!find.next())
        return {};
    const qint64 shareId = find.value(0).toLongLong();
    find.finish();
    return inTransaction([&] { return insertLinkCheck(shareId, check); });
}

namespace {

LinkCheck checkOf(const QSqlQuery &query)
{
    LinkCheck check;
    check.verdict.state = Crawl::parseLinkState(query.value(0).toString()).value_or(Crawl::LinkState::Unknown);
    check.verdict.reason = Crawl::parseDeadReason(query.value(1).toString()).value_or(Crawl::DeadReason::None);
    check.checkedAt = timeOf(query.value(2));
    check.status = query.value(3).toInt();
    return check;
}

} // namespace

std::optional<LinkCheck> Store::latestLinkCheck(const QString &key) const
{
    QSqlQuery query(database());
    if (!exec(query,
              u"SELECT c.state, c.reason, c.checked_at, c.status FROM link_checks c JOIN shares s ON s.id = c.share_id"
              " WHERE s.key = ? ORDER BY c.checked_at DESC, c.id DESC LIMIT 1"_s,
              {key})
        || !query.next())
        return std::nullopt;
    return checkOf(query);
}

QList<LinkCheck> Store::linkHistory(qint64 shareId) const
{
    QList<LinkCheck> checks;
    QSqlQuery query(database());
    if (!exec(query, u"SELECT state, reason, checked_at, status FROM link_checks WHERE share_id = ?"
                     " ORDER BY checked_at DESC, id DESC"_s,
              {shareId}))
        return checks;
    while (query.next())
        checks.append(checkOf(query));
    return checks;
}

bool Store::selectShares(QSqlQuery &select, const QString &columns, const Query &query) const
{
    const Where where = whereOf(query, m_fullText);
    select.setForwardOnly(true);
    return exec(select, u"SELECT "_s + columns + u" FROM shares"_s + where.sql + orderClause(query, m_fullText), where.binds);
}

QList<ShareRecord> Store::search(const Query &query) const
{
    QList<ShareRecord> found;
    QSqlQuery select(database());
    if (!selectShares(select, QString::fromUtf16(kRecordColumns), query))
        return found;
    while (select.next())
        found.append(recordOf(select));
    return found;
}

QList<qint64> Store::matchingIds(const Query &query) const
{
    QList<qint64> ids;
    QSqlQuery select(database());
    if (!selectShares(select, u"id"_s, query))
        return ids;
    while (select.next())
        ids.append(select.value(0).toLongLong());
    return ids;
}

QList<ShareRecord> Store::records(const QList<qint64> &ids) const
{
    QHash<qint64, ShareRecord> byId;
    byId.reserve(ids.size());
    QSqlQuery select(database());
    select.setForwardOnly(true);
    for (qsizetype from = 0; from < ids.size(); from += kIdsPerQuery) {
        const QList<qint64> chunk = ids.mid(from, kIdsPerQuery);
        QVariantList binds;
        binds.reserve(chunk.size());
        for (const qint64 id : chunk)
            binds.append(id);
        if (!exec(select, u"SELECT "_s + QString::fromUtf16(kRecordColumns) + u" FROM shares WHERE id IN ("_s
                              + placeholders(chunk.size()) + u')',
                  binds))
            return {};
        while (select.next()) {
            ShareRecord record = recordOf(select);
            byId.insert(record.id, std::move(record));
        }
    }
    QList<ShareRecord> ordered;
    ordered.reserve(byId.size());
    for (const qint64 id : ids)
        if (const auto it = byId.constFind(id); it != byId.cend())
            ordered.append(*it);
    return ordered;
}

QHash<QString, QDateTime> Store::firstSeen(const QStringList &keys) const
{
    QHash<QString, QDateTime> seen;
    QSqlQuery select(database());
    select.setForwardOnly(true);
    for (qsizetype from = 0; from < keys.size(); from += kIdsPerQuery) {
        const QStringList chunk = keys.mid(from, kIdsPerQuery);
        if (!exec(select, u"SELECT key, first_seen FROM shares WHERE key IN ("_s + placeholders(chunk.size()) + u')',
                  QVariantList(chunk.cbegin(), chunk.cend())))
            return seen;
        while (select.next())
            seen.insert(select.value(0).toString(), timeOf(select.value(1)));
    }
    return seen;
}

Stats Store::stats() const
{
    Stats stats;
    QSqlQuery query(database());
    if (exec(query, u"SELECT COUNT(*), TOTAL(hidden), TOTAL(share_code <> ''), MIN(first_seen), MAX(last_seen) FROM shares"_s)
        && query.next()) {
        stats.shares = query.value(0).toLongLong();
        stats.hidden = query.value(1).toLongLong();
        stats.withCode = query.value(2).toLongLong();
        stats.firstSeen = timeOf(query.value(3));
        stats.lastSeen = timeOf(query.value(4));
    }
    if (exec(query, u"SELECT COALESCE(link_state, 'unchecked'), COUNT(*) FROM shares GROUP BY 1"_s))
        while (query.next())
            stats.byLinkState.insert(query.value(0).toString(), query.value(1).toLongLong());
    if (exec(query, u"SELECT (SELECT COUNT(*) FROM sightings), (SELECT COUNT(*) FROM runs)"_s) && query.next()) {
        stats.sightings = query.value(0).toLongLong();
        stats.runs = query.value(1).toLongLong();
    }
    return stats;
}

QString Store::updateIds(const QString &assignment, const QVariant &value, const QList<qint64> &ids)
{
    return inTransaction([&] {
        QSqlQuery update(database());
        for (qsizetype from = 0; from < ids.size(); from += kIdsPerQuery) {
            const QList<qint64> chunk = ids.mid(from, kIdsPerQuery);
            QVariantList binds{value};
            for (const qint64 id : chunk)
                binds.append(id);
            if (!exec(update, u"UPDATE shares SET "_s + assignment + u" = ? WHERE id IN ("_s + placeholders(chunk.size()) + u')',
                      binds))
                return errorOf(update);
        }
        return QString();
    });
}

QString Store::setHidden(const QList<qint64> &ids, bool hidden)
{
    return updateIds(u"hidden"_s, hidden ? 1 : 0, ids);
}

QString Store::markCopied(const QList<qint64> &ids, const QDateTime &when)
{
    return updateIds(u"copied_at"_s, msecs(when), ids);
}

QString Store::markOpened(const QList<qint64> &ids, const QDateTime &when)
{
    return updateIds(u"opened_at"_s, msecs(when), ids);
}

qint64 Store::indexedThrough() const
{
    QSqlQuery query(database());
    return exec(query, u"SELECT "_s + QString::fromUtf16(kIndexedThrough)) && query.next() ? query.value(0).toLongLong() : 0;
}

QString Store::indexPendingTitles()
{
    if (!m_fullText || m_readOnly)
        return {};
    return inTransaction([&] {
        QSqlQuery write(database());
        if (!exec(write, u"INSERT INTO share_search(rowid, title_folded) SELECT id, title_folded FROM shares WHERE id > "_s
                             + QString::fromUtf16(kIndexedThrough)))
            return errorOf(write);
        // Most openings find nothing to add; they leave the file unwritten.
        if (write.numRowsAffected() > 0
            && !exec(write, u"INSERT OR REPLACE INTO meta(key, value) SELECT 'indexed_through', MAX(id) FROM shares"_s))
            return errorOf(write);
        return QString();
    });
}

QString Store::forgetBefore(const QDateTime &before, qint64 &forgotten)
{
    forgotten = 0;
    const qint64 cut = before.toMSecsSinceEpoch();
    // What was recorded before is filed first: its sightings are then forgotten with the rest.
    if (QString error = fileIncoming(); !error.isEmpty())
        return error;
    return inTransaction([&] {
        QSqlQuery write(database());
        if (m_fullText
            && !exec(write, u"INSERT INTO share_search(share_search, rowid, title_folded)"
                            " SELECT 'delete', id, title_folded FROM shares WHERE last_seen < ? AND id <= "_s
                                + QString::fromUtf16(kIndexedThrough),
                     {cut}))
            return errorOf(write);
        if (!exec(write, u"DELETE FROM shares WHERE last_seen < ?"_s, {cut}))
            return errorOf(write);
        forgotten = write.numRowsAffected();
        if (!exec(write, u"DELETE FROM sightings WHERE seen_at < ?"_s, {cut})
            || !exec(write, u"DELETE FROM link_checks WHERE checked_at < ?"_s, {cut})
            || !exec(write, u"DELETE FROM runs WHERE COALESCE(ended_at, started_at) < ?"
                            " AND NOT EXISTS (SELECT 1 FROM sightings WHERE run_id = runs.id)"
                            " AND NOT EXISTS (SELECT 1 FROM incoming WHERE run_id = runs.id)"_s,
                     {cut}))
            return errorOf(write);
        return QString();
    });
}

QString runKindName(RunKind kind)
{
    switch (kind) {
    case RunKind::Page: return u"page"_s;
    case RunKind::Search: return u"search"_s;
    case RunKind::Import: return u"import"_s;
    case RunKind::Watch: return u"watch"_s;
    case RunKind::Crawl: break;
    }
    return u"crawl"_s;
}

} // namespace Library
