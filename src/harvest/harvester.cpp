#include "harvest/harvester.h"

#include "harvest/entryparser.h"
#include "harvest/sharecode.h"
#include "harvest/siteurls.h"
#include "net/getbody.h"

#include <QCoreApplication>

namespace Harvest {

namespace {

QString listingStatus(qint16 page)
{
    return QStringLiteral("正在获取第") + QString::number(page) + QStringLiteral("页资源..");
}

} // namespace

Harvester::Harvester(ResultList &list, const Net::Endpoints &endpoints, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_shareSite(endpoints.shareSite)
    , m_sharePrefix(endpoints.sharePrefix)
    , m_transferTimeout(endpoints.timeout)
{
}

HarvestResult Harvester::harvestPage(qint16 page)
{
    const quint64 run = ++m_generation;
    m_running = true;
    emit statusChanged(listingStatus(page));
    emit searchEnabledChanged(false);
    emit exportEnabledChanged(false);
    m_list.clear();
    return fillFromPage(run, listingUrl(m_shareSite, page));
}

HarvestResult Harvester::fillFromPage(quint64 run, const QString &url)
{
    const std::optional<QString> page = Net::GetBody(url, m_transferTimeout);
    if (isSuperseded(run))
        return finish(run, {HarvestOutcome::Superseded});
    if (!page || page->isEmpty())
        return finish(run, {HarvestOutcome::ListingFailed});

    m_list.append(parseEntries(*page));
    HarvestResult result{HarvestOutcome::NoEntries, m_list.rowCount()};
    if (result.entries == 0)
        return finish(run, result);

    result.outcome = HarvestOutcome::Rows;
    result = detailPass(run, result);
    if (result.outcome == HarvestOutcome::Rows) {
        emit statusChanged(QStringLiteral("礼包码获取完毕.."));
        emit exportEnabledChanged(true);
    }
    return finish(run, result);
}

HarvestResult Harvester::detailPass(quint64 run, HarvestResult result)
{
    emit statusChanged(QStringLiteral("资源获取完毕,正在获取礼包码.."));
    QList<RowId> ids;
    ids.reserve(m_list.rowCount());
    for (int row = 0; row < m_list.rowCount(); ++row)
        ids.append(m_list.rowId(row));

    for (const RowId id : ids) {
        // Let the window repaint the progress and react between two rows.
        QCoreApplication::processEvents();
        if (isSuperseded(run))
            return {HarvestOutcome::Superseded};
        const int row = m_list.rowOf(id);
        if (row < 0)
            continue; // removed by the user: nobody wants its code any more

        const std::optional<QString> page = Net::GetBody(detailUrl(m_shareSite, m_list.entry(row).entryId), m_transferTimeout);
        if (isSuperseded(run))
            return {HarvestOutcome::Superseded};
        const std::optional<QString> code = page ? cutShareCode(*page, m_sharePrefix) : std::nullopt;
        if (!code) {
            result.detailPassStopped = true;
            result.stoppedAtRow = row;
            break;
        }
        if (m_list.setShareCode(id, *code))
            ++result.sharesRead;
    }
    return result;
}

HarvestResult Harvester::finish(quint64 run, HarvestResult result)
{
    if (result.outcome != HarvestOutcome::Superseded) {
        Q_ASSERT(!isSuperseded(run));
        m_running = false;
        emit searchEnabledChanged(true);
    }
    emit finished(result);
    return result;
}

} // namespace Harvest
