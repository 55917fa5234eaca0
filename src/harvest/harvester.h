#pragma once

#include "harvest/resultlist.h"
#include "config/endpoints.h"

#include <QObject>
#include <QString>

namespace Harvest {

enum class HarvestOutcome {
    Rows,          // the page gave at least one entry; the detail pass ran
    NoEntries,     // the page came but held no entry
    ListingFailed, // the page could not be fetched or was empty
    Superseded,    // a newer run started while this one waited; it wrote nothing more
};

enum class RunKind {
    Listing, // a numbered listing page
    Search,  // the site's results page for a keyword
};

struct HarvestResult
{
    HarvestOutcome outcome = HarvestOutcome::ListingFailed;
    RunKind kind = RunKind::Listing;
    int entries = 0;       // entries the page gave
    int sharesRead = 0;    // share codes written by the detail pass
    bool detailPassStopped = false; // a detail page failed or lacked the share-link marker
    int stoppedAtRow = -1;          // the list row of that detail page, when it stopped
    // NoEntries from a page with content but neither an entry marker nor an empty-result
    // wording (isUnrecognisedPage): the site has probably changed its layout.
    bool probableLayoutChange = false;
};

// Runs listing harvests and keyword searches into a ResultList and reports progress and
// outcome; it shows nothing itself. Each run fetches one listing or results page, fills the
// list and then reads every row's detail page for its share code, one request after the other.
//
// Page fetches process events while they wait, so a new run may start inside a running one.
// The newer run supersedes the older: once its wait is over the older run stops and touches
// neither the list nor the signals again. The detail pass writes each share code to the row it
// was fetched for, by identity, so rows removed meanwhile shift nothing.
class Harvester : public QObject
{
    Q_OBJECT

public:
    // list and the harvester must outlive every run.
    Harvester(ResultList &list, const Config::Endpoints &endpoints, QObject *parent = nullptr);

    // Harvests listing page `page` and returns when the run is over (or superseded).
    HarvestResult harvestPage(qint16 page);

    // Searches the site for keyword and fills the list from its results page as a listing
    // harvest does. The keyword is not checked here (see keywordRefusal).
    HarvestResult searchKeyword(const QString &keyword);

    // The endpoints of every request from now on, a run under way included.
    void setEndpoints(const Config::Endpoints &endpoints);

    // True while the newest run has not ended.
    bool isRunning() const { return m_running; }
    // The page number or keyword of the newest run.
    const QString &runSubject() const { return m_subject; }

signals:
    void statusChanged(const QString &text);
    // A run of kind began, after its first status text and before the list is cleared.
    void runStarted(Harvest::RunKind kind);
    // A row is done with: its detail page was read (shareCode set when it held one), or the
    // detail pass stopped before or at it. Once per row of a run that is not superseded.
    void entryDone(const Harvest::ResourceEntry &entry);
    // A run ended; a superseded run ends after the run that superseded it.
    void finished(const Harvest::HarvestResult &result);

private:
    quint64 startRun(RunKind kind, const QString &subject, const QString &status);
    HarvestResult fillFromPage(quint64 run, RunKind kind, const QString &url);
    HarvestResult detailPass(quint64 run, HarvestResult result);
    HarvestResult finish(quint64 run, RunKind kind, HarvestResult result);
    bool isSuperseded(quint64 run) const { return run != m_generation; }

    ResultList &m_list;
    Config::Endpoints m_endpoints;
    QString m_subject;
    quint64 m_generation = 0;
    bool m_running = false;
};

} // namespace Harvest
