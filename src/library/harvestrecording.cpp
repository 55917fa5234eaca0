#include "library/harvestrecording.h"

#include "library/store.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace Library {

QString outcomeName(Harvest::HarvestOutcome outcome)
{
    switch (outcome) {
    case Harvest::HarvestOutcome::Rows: return u"rows"_s;
    case Harvest::HarvestOutcome::NoEntries: return u"no entries"_s;
    case Harvest::HarvestOutcome::ListingFailed: return u"listing failed"_s;
    case Harvest::HarvestOutcome::Superseded: break;
    }
    return u"superseded"_s;
}

HarvestRecording::HarvestRecording(Harvest::Harvester &harvester, Store *store, QString sharePrefix,
                                   Recorder::Warn warn, QObject *parent)
    : QObject(parent)
    , m_harvester(harvester)
    , m_store(store)
    , m_sharePrefix(std::move(sharePrefix))
    , m_warn(std::move(warn))
{
    if (!m_store)
        return;
    connect(&harvester, &Harvest::Harvester::runStarted, this, &HarvestRecording::start);
    connect(&harvester, &Harvest::Harvester::entryDone, this, &HarvestRecording::record);
    connect(&harvester, &Harvest::Harvester::finished, this, &HarvestRecording::finish);
}

HarvestRecording::~HarvestRecording() = default;

void HarvestRecording::start(Harvest::RunKind kind)
{
    // A run that starts inside another supersedes it; the older one's record ends here.
    if (m_run)
        m_run->finish(outcomeName(Harvest::HarvestOutcome::Superseded));
    m_kind = kind;
    m_run = std::make_unique<Recorder>(m_store, kind == Harvest::RunKind::Search ? RunKind::Search : RunKind::Page,
                                       m_harvester.runSubject(), m_warn);
}

void HarvestRecording::record(const Harvest::ResourceEntry &entry)
{
    if (!m_run)
        return;
    Sighting sighting;
    sighting.entry = entry;
    if (!entry.shareCode.isEmpty())
        sighting.shareUrl = m_sharePrefix + entry.shareCode;
    if (m_kind == Harvest::RunKind::Search)
        sighting.keyword = m_harvester.runSubject();
    else
        sighting.page = m_harvester.runSubject().toInt();
    sighting.seenAt = QDateTime::currentDateTimeUtc();
    m_run->record(sighting);
}

void HarvestRecording::finish(const Harvest::HarvestResult &result)
{
    // A superseded run's end arrives after the newer run's; that one was already closed.
    if (!m_run || result.outcome == Harvest::HarvestOutcome::Superseded)
        return;
    m_run->finish(outcomeName(result.outcome));
    m_run.reset();
}

} // namespace Library
