#include "library/linkrecheck.h"

#include "crawl/linkcache.h"
#include "library/store.h"

namespace Library {

Crawl::Pacing recheckPacing(const Config::Endpoints &endpoints)
{
    Crawl::Pacing pacing;
    pacing.delay = endpoints.crawlDelay;
    pacing.transferTimeout = endpoints.timeout;
    pacing.fallbackCharset = endpoints.profile.charsetFallback;
    return pacing;
}

LinkRecheck::LinkRecheck(Store &store, Crawl::Fetcher &fetcher, const Config::SiteProfile &profile)
    : m_store(store)
    , m_fetcher(fetcher)
    , m_rules(profile.shareRules)
    , m_leastPause(profile.minimumDelay)
{
}

RecheckSummary LinkRecheck::run(const QList<ShareRecord> &shares, const Progress &progress)
{
    RecheckSummary summary;
    const Crawl::CachedLink fresh =
        Crawl::freshChecks([this](const QString &shareUrl) { return m_store.latestLinkCheck(shareUrl); }, m_force, std::nullopt);
    const int total = static_cast<int>(shares.size());
    for (int i = 0; i < total; ++i) {
        if (m_fetcher.stopRequested()) {
            summary.stopped = true;
            break;
        }
        const ShareRecord &share = shares.at(i);
        RecheckProgress step;
        step.done = i + 1;
        step.total = total;
        step.share = &share;
        if (share.shareUrl.isEmpty()) {
            step.outcome = RecheckOutcome::NoLink;
            ++summary.noLink;
        } else if (const std::optional<Crawl::LinkCheck> cached = fresh(share.shareUrl)) {
            step.outcome = RecheckOutcome::Fresh;
            step.check = *cached;
            ++summary.fresh;
        } else {
            m_fetcher.keepAtLeast(share.shareUrl, m_leastPause);
            step.check = Crawl::checkShare(m_fetcher, share.shareUrl, m_rules, m_gap);
            if (m_fetcher.stopRequested()) { // the check may rest on a request that was never sent
                summary.stopped = true;
                break;
            }
            if (m_fetcher.isGivenUp(share.shareUrl)) {
                step.outcome = RecheckOutcome::GivenUp;
                step.check = {};
                ++summary.givenUp;
            } else if (QString error = m_store.recordLinkCheck(share.shareUrl, step.check); !error.isEmpty()) {
                summary.error = std::move(error);
                break;
            } else {
                ++summary.checked;
            }
        }
        if (progress)
            progress(step);
    }
    summary.hostsGivenUp = m_fetcher.hostsGivenUp();
    return summary;
}

} // namespace Library
