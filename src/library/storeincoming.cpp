// Recording a sighting appends it to the incoming table, one small commit per row; filing moves
// many of them into shares and sightings at once, so each index page is written once a batch
// instead of once a row.
#include "library/sqlexec.h"
#include "library/store.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

constexpr int kUnfiledRows = 64;
constexpr qint64 kUnfiledMs = 2000;

// The columns of incoming after its id, in the order of both statements below.
#define VORLEN_INCOMING_COLUMNS \
    "run_id, seen_at, number, title, file_count, entry_id, share_code, extraction_code, share_url, page, keyword," \
    " link_state, link_reason, link_checked_at, link_status"

QVariantList bindsOf(qint64 runId, const Sighting &sighting)
{
    const Harvest::ResourceEntry &entry = sighting.entry;
    const std::optional<LinkCheck> &link = sighting.link;
    return {runId,
            msecsOrNow(sighting.seenAt),
            storedText(entry.number),
            storedText(entry.title),
            storedText(entry.fileCount),
            storedText(entry.entryId),
            storedText(entry.shareCode),
            storedText(entry.extractionCode),
            storedText(sighting.shareUrl),
            sighting.page ? QVariant(*sighting.page) : QVariant(QMetaType::fromType<int>()),
            storedText(sighting.keyword),
            link ? QVariant(Crawl::linkStateName(link->verdict.state)) : QVariant(QMetaType::fromType<QString>()),
            link ? storedText(Crawl::deadReasonName(link->verdict.reason)) : storedText({}),
            link ? QVariant(msecsOrNow(link->checkedAt)) : QVariant(QMetaType::fromType<qint64>()),
            link ? link->status : 0};
}

// The sighting of an incoming row read with its columns after its id.
Sighting sightingOf(const QSqlQuery &row)
{
    Sighting sighting;
    sighting.seenAt = timeOf(row.value(2));
    sighting.entry = {.number = row.value(3).toString(),
                      .title = row.value(4).toString(),
                      .fileCount = row.value(5).toString(),
                      .shareCode = row.value(7).toString(),
                      .entryId = row.value(6).toString(),
                      .extractionCode = row.value(8).toString()};
    sighting.shareUrl = row.value(9).toString();
    if (!row.value(10).isNull())
        sighting.page = row.value(10).toInt();
    sighting.keyword = row.value(11).toString();
    if (const auto state = Crawl::parseLinkState(row.value(12).toString())) {
        const auto reason = Crawl::parseDeadReason(row.value(13).toString());
        sighting.link = LinkCheck{{*state, reason.value_or(Crawl::DeadReason::None)}, timeOf(row.value(14)), row.value(15).toInt()};
    }
    return sighting;
}

} // namespace

QString Store::record(qint64 runId, const Sighting &sighting)
{
    // One statement is a transaction of its own.
    const QString error = appendIncoming(runId, sighting);
    return error.isEmpty() ? noteUnfiled() : error;
}

QString Store::record(qint64 runId, const Sighting &sighting, const std::function<QString()> &alongside)
{
    const QString error = inTransaction([&] {
        const QString appended = appendIncoming(runId, sighting);
        return appended.isEmpty() ? alongside() : appended;
    });
    return error.isEmpty() ? noteUnfiled() : error;
}

QString Store::appendIncoming(qint64 runId, const Sighting &sighting)
{
    QSqlQuery *append = nullptr;
    if (!runPrepared(u"INSERT INTO incoming(" VORLEN_INCOMING_COLUMNS ") VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                     bindsOf(runId, sighting), append))
        return errorOf(*append);
    return {};
}

QString Store::noteUnfiled()
{
    if (m_unfiled++ == 0)
        m_sinceFirstUnfiled.start();
    if (m_unfiled < kUnfiledRows && !m_sinceFirstUnfiled.hasExpired(kUnfiledMs))
        return {};
    return fileIncoming();
}

QString Store::fileIncoming()
{
    if (m_readOnly)
        return {};
    m_unfiled = 0;
    // Most ends of runs and openings find nothing to file; they take no write lock.
    QSqlQuery *any = nullptr;
    if (!runPrepared(u"SELECT EXISTS (SELECT 1 FROM incoming)"_s, {}, any))
        return errorOf(*any);
    const bool pending = any->next() && any->value(0).toBool();
    any->finish();
    if (!pending)
        return {};
    return inTransaction([&] {
        QSqlQuery rows(database());
        rows.setForwardOnly(true);
        // Rows of a run forgotten meanwhile (it was killed long ago) have nowhere to go.
        if (!exec(rows, u"DELETE FROM incoming WHERE run_id NOT IN (SELECT id FROM runs)"_s)
            || !exec(rows, u"SELECT id, " VORLEN_INCOMING_COLUMNS " FROM incoming ORDER BY id"_s))
            return errorOf(rows);
        qint64 last = 0;
        while (rows.next()) {
            last = rows.value(0).toLongLong();
            if (QString error = fileSighting(rows.value(1).toLongLong(), sightingOf(rows)); !error.isEmpty())
                return error;
        }
        rows.finish();
        if (last > 0 && !exec(rows, u"DELETE FROM incoming WHERE id <= ?"_s, {last}))
            return errorOf(rows);
        return QString();
    });
}

} // namespace Library
