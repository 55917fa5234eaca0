#pragma once

#include "config/endpoints.h"
#include "crawl/fetcher.h"
#include "crawl/linkcheck.h"
#include "library/sharerecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace Library {

class Store;

// How a share of a recheck ended.
enum class RecheckOutcome {
    Checked,  // its link was asked; the check is stored
    Fresh,    // the library's latest check still holds (Crawl::isFresh): not asked
    NoLink,   // no share URL: nothing to ask
    GivenUp,  // its host asked for a longer pause than a crawl waits: not asked, nothing stored
};

struct RecheckProgress
{
    int done = 0;  // shares done, this one included
    int total = 0;
    const ShareRecord *share = nullptr;
    RecheckOutcome outcome = RecheckOutcome::Checked;
    Crawl::LinkCheck check; // what was stored, or the fresh check; unknown otherwise
};

struct RecheckSummary
{
    int checked = 0;
    int fresh = 0;
    int noLink = 0;
    int givenUp = 0;
    bool stopped = false;     // the stop switch ended it before every share was done
    QStringList hostsGivenUp; // Crawl::Fetcher::hostsGivenUp: their shares were not stored
    QString error;            // the library could not store a check: the run ended there
};

// The pacing of a recheck: the crawl's, with the transfer timeout, the charset fallback and the
// crawl-delay setting of the endpoints.
Crawl::Pacing recheckPacing(const Config::Endpoints &endpoints);

// Checks the share links of shares one after another through fetcher (whose stop switch ends
// the run after the request in flight) and stores each check in the library as it comes. A
// share whose latest check is fresh (the state's Crawl::defaultCacheAge) is not asked unless
// force; a share without a share URL is skipped. A check cut short by the stop or by a host given
// up says nothing of the share and is not stored.
class LinkRecheck
{
public:
    using Progress = std::function<void(const RecheckProgress &)>;

    // store and fetcher outlive the recheck; profile gives the share rules and the least pause.
    LinkRecheck(Store &store, Crawl::Fetcher &fetcher, const Config::SiteProfile &profile);

    void setForce(bool force) { m_force = force; }
    void setRecheckGap(std::chrono::milliseconds gap) { m_gap = gap; }

    RecheckSummary run(const QList<ShareRecord> &shares, const Progress &progress);

private:
    Store &m_store;
    Crawl::Fetcher &m_fetcher;
    Config::ShareRules m_rules;
    std::chrono::milliseconds m_leastPause;
    bool m_force = false;
    std::chrono::milliseconds m_gap = Crawl::kRecheckGap;
};

} // namespace Library
