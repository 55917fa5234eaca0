#include "harvest/harvester.h"

#include "harvest/entryparser.h"
#include "harvest/sharecode.h"
#include "harvest/siteurls.h"
#include "net/pagefetch.h"

#include <QCoreApplication>

#include <utility>

using namespace Qt::StringLiterals;

namespace Harvest {

namespace {

QString listingStatus(qint16 page)
{
    return u"正在获取第"_s + QString::number(page) + u"页资源.."_s;
}

} // namespace

Harvester::Harvester(ResultList &list, const Config::Endpoints &endpoints, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_endpoints(endpoints)
{
}

void Harvester::setEndpoints(const Config::Endpoints &endpoints)
{
    m_endpoints = endpoints;
}

HarvestResult Harvester::harvestPage(qint16 page)
{
    const quint64 run = startRun(RunKind::Listing, QString::number(page), listingStatus(page));
    return fillFromPage(run, RunKind::Listing, listingUrl(m_endpoints.shareSite, m_endpoints.profile, page));
}

HarvestResult Harvester::searchKeyword(const QString &keyword)
{
    const quint64 run = startRun(RunKind::Search, keyword, u"正在进行搜索"_s + keyword + u"相关资源.."_s);
    return fillFromPage(run, RunKind::Search, searchUrl(m_endpoints.shareSite, m_endpoints.profile, keyword));
}

quint64 Harvester::startRun(RunKind kind, const QString &subject, const QString &status)
{
    const quint64 run = ++m_generation;
    m_subject = subject;
    m_running = true;
    emit statusChanged(status);
    emit runStarted(kind);
    m_list.clear();
    return run;
}

HarvestResult Harvester::fillFromPage(quint64 run, RunKind kind, const QString &url)
{
    const Config::SiteProfile &profile = m_endpoints.profile;
    const std::optional<QString> page = Net::fetchPageText(url, m_endpoints.timeout, profile.charsetFallback);
    if (isSuperseded(run))
        return finish(run, kind, {HarvestOutcome::Superseded});
    if (!page || page->isEmpty())
        return finish(run, kind, {HarvestOutcome::ListingFailed});

    m_list.append(parseEntries(*page, profile));
    HarvestResult result{HarvestOutcome::NoEntries};
    result.entries = m_list.rowCount();
    if (result.entries == 0) {
        result.probableLayoutChange = isUnrecognisedPage(*page, profile);
        return finish(run, kind, result);
    }

    result.outcome = HarvestOutcome::Rows;
    result = detailPass(run, result);
    if (result.outcome == HarvestOutcome::Rows)
        emit statusChanged(u"礼包码获取完毕.."_s);
    return finish(run, kind, result);
}

HarvestResult Harvester::detailPass(quint64 run, HarvestResult result)
{
    emit statusChanged(u"资源获取完毕,正在获取礼包码.."_s);
    const Config::SiteProfile &profile = m_endpoints.profile;
    const QString &shareLinkMarker = profile.shareLinkMarkerOr(m_endpoints.sharePrefix);
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

        const std::optional<QString> page = Net::fetchPageText(detailUrl(m_endpoints.shareSite, profile, m_list.entry(row).entryId),
                                                         m_endpoints.timeout, profile.charsetFallback);
        if (isSuperseded(run))
            return {HarvestOutcome::Superseded};
        const std::optional<QString> code = page ? cutShareCode(*page, shareLinkMarker) : std::nullopt;
        if (!code) {
            result.detailPassStopped = true;
            result.stoppedAtRow = row;
            break;
        }
        if (m_list.setShareCode(id, *code)) {
            ++result.sharesRead;
            emit entryDone(m_list.entry(row));
        }
    }
    // The rows the pass never reached were still seen on the page.
    if (result.detailPassStopped)
        for (int row = result.stoppedAtRow; row < m_list.rowCount(); ++row)
            emit entryDone(m_list.entry(row));
    return result;
}

HarvestResult Harvester::finish(quint64 run, RunKind kind, HarvestResult result)
{
    result.kind = kind;
    if (result.outcome != HarvestOutcome::Superseded) {
        Q_ASSERT(!isSuperseded(run));
        m_running = false;
    }
    emit finished(result);
    return result;
}

} // namespace Harvest
