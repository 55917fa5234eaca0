#include "crawl/crawler.h"

#include "harvest/entryparser.h"
#include "harvest/sharecode.h"
#include "harvest/siteurls.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace Crawl {

namespace {

QString pageName(std::optional<int> page)
{
    return page ? QString::number(*page) : u"keyword results"_s;
}

} // namespace

Crawler::Crawler(CrawlPlan plan, Fetcher &fetcher) : m_plan(std::move(plan)), m_fetcher(fetcher)
{
}

CrawlSummary Crawler::run(const CrawlCallbacks &callbacks)
{
    m_callbacks = &callbacks;
    m_summary = {};
    m_seenEntryIds = m_plan.resume.seenEntryIds;
    m_seenShareCodes = m_plan.resume.seenShareCodes;
    m_knownInRow = 0;
    m_robots = {};
    m_frontier = {};
    m_idsAhead.clear();
    m_codesAhead.clear();
    m_start = std::chrono::steady_clock::now();
    m_fetcher.keepAtLeast(m_plan.shareSite, m_plan.profile.minimumDelay);
    if (m_fetcher.concurrency() > 1)
        m_ahead = std::make_unique<AnswersAhead>(m_fetcher, m_fetcher.concurrency() * kAheadPerRequest,
                                                 [this](const QString &url, AnswersAhead::Kind kind, Turn turn,
                                                        const Answer &answer) { arrivedAhead(url, kind, turn, answer); });

    if (m_plan.obeyRobots && !readRobots()) {
        // Nothing of the site is crawled: no page was planned to be read.
    } else if (!m_plan.keyword.isEmpty()) {
        m_summary.pagesPlanned = 1;
        crawlPage(std::nullopt);
    } else {
        m_summary.pagesPlanned = m_plan.lastPage - m_plan.firstPage + 1;
        for (int page = m_plan.firstPage;
             page <= m_plan.lastPage && !m_summary.stopped && !m_summary.outputFailed && !m_fetcher.isGivenUp(m_plan.shareSite)
             && !knownEnough();
             ++page)
            crawlPage(page);
        if (knownEnough())
            reportNotice(QString::number(m_knownInRow) + u" entries in a row were known already: no older entry was read"_s);
    }
    m_ahead.reset(); // what was asked ahead and not taken is cancelled
    m_listingsAhead.clear();
    m_detailsAhead.clear();
    m_entries = nullptr;
    m_summary.stopped = m_summary.stopped || m_fetcher.stopRequested();
    m_summary.hostsGivenUp = m_fetcher.hostsGivenUp();
    m_summary.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
    m_callbacks = nullptr;
    return m_summary;
}

bool Crawler::readRobots()
{
    const QUrl site(m_plan.shareSite);
    const Answer answer = m_fetcher.get(site.resolved(QUrl(u"/robots.txt"_s)).toString(), Fetcher::BodyText::Utf8);
    if (answer.kind == Answer::Kind::Stopped) {
        m_summary.stopped = true;
        return false;
    }
    const std::optional<int> status = answer.kind == Answer::Kind::Http ? std::optional(answer.status) : std::nullopt;
    m_robots = robotsRulesFor(status, answer.body.toUtf8(), kRobotsProductToken);
    if (!status || *status >= 500 || *status == 429) {
        m_summary.robotsUnreadable = u"robots.txt of "_s + hostKey(site) + u" could not be read ("_s + answer.describe()
            + u"): nothing was crawled"_s;
        return false;
    }
    if (const auto asked = m_robots.crawlDelay(); asked && asked->count() > 0) {
        const auto floor = std::min(*asked, kMaxHostDelay);
        m_fetcher.keepAtLeast(m_plan.shareSite, floor);
        const auto seconds = [](std::chrono::milliseconds ms) { return QString::number(double(ms.count()) / 1000); };
        reportNotice(u"robots.txt asks for a Crawl-delay of "_s + seconds(*asked) + u" s"_s
                     + (floor < *asked ? u", more than the longest pause; "_s + seconds(floor) + u" s"_s : QString())
                     + u" at least between requests to "_s + hostKey(site));
    }
    return true;
}

bool Crawler::allowed(const QString &url) const
{
    return m_robots.isAllowed(QUrl(url).toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment));
}

QString Crawler::pageUrl(int pageKey) const
{
    return pageKey == kResultsPage ? Harvest::searchUrl(m_plan.shareSite, m_plan.profile, m_plan.keyword)
                                   : Harvest::listingUrl(m_plan.shareSite, m_plan.profile, static_cast<qint16>(pageKey));
}

void Crawler::crawlPage(std::optional<int> page)
{
    const int pageKey = page.value_or(kResultsPage);
    const QString url = pageUrl(pageKey);
    m_turn = {pageKey, -1};
    m_entries = nullptr;
    if (m_plan.resume.donePages.contains(pageKey)) {
        ++m_summary.pagesRead;
        reportProgress(page, true);
        return;
    }
    if (!allowed(url)) {
        ++m_summary.pagesFailed;
        m_summary.failedPages.append(pageName(page));
        reportFailure(u"page "_s + pageName(page) + u" skipped: robots.txt disallows it"_s);
        reportProgress(page, true);
        return;
    }
    // A page an earlier run of the job read is not asked again: its entries were kept.
    if (const auto kept = m_plan.resume.listings.constFind(pageKey); kept != m_plan.resume.listings.cend()) {
        crawlEntries(*kept, page);
        return;
    }
    const Answer listing = answerFor(url);
    if (listing.kind == Answer::Kind::Stopped) {
        m_summary.stopped = true;
        return;
    }
    if (!listing.isOk() || listing.body.isEmpty()) {
        ++m_summary.pagesFailed;
        m_summary.failedPages.append(pageName(page));
        reportFailure(u"page "_s + pageName(page) + u" failed: "_s
                             + (listing.isOk() ? u"empty page"_s : listing.describe()));
        reportProgress(page, true);
    } else {
        QList<Harvest::ResourceEntry> entries = m_listingsAhead.take(pageKey); // parsed when it came ahead
        if (entries.isEmpty())
            entries = Harvest::parseEntries(listing.body, m_plan.profile);
        if (entries.isEmpty() && Harvest::isUnrecognisedPage(listing.body, m_plan.profile))
            m_summary.unrecognisedPages.append(pageName(page));
        if (m_callbacks->listingRead)
            m_callbacks->listingRead(pageKey, entries);
        crawlEntries(entries, page);
    }
}

void Crawler::crawlEntries(const QList<Harvest::ResourceEntry> &entries, std::optional<int> page)
{
    bool whole = true;
    m_entries = &entries;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        m_turn = {page.value_or(kResultsPage), i};
        if (!crawlEntry(entries.at(i), page) || knownEnough()) {
            whole = false;
            break;
        }
    }
    // Counted once its rows are out: progress during the page shows it as not yet done.
    ++m_summary.pagesRead;
    if (m_callbacks->pageDone && whole && !m_summary.stopped && !m_summary.outputFailed)
        m_callbacks->pageDone(page.value_or(kResultsPage));
    reportProgress(page, true);
    m_entries = nullptr; // the caller's list: asking ahead looks up the page's entries afresh
}

bool Crawler::crawlEntry(Harvest::ResourceEntry entry, std::optional<int> page)
{
    const int pageKey = page.value_or(kResultsPage);
    if (m_plan.resume.isDone(pageKey, entry.entryId))
        return true; // an earlier run of the job finished it
    if (m_seenEntryIds.contains(entry.entryId)) {
        ++m_summary.duplicates;
        reportSkipped(pageKey, entry);
        return true;
    }
    if (m_plan.newOnly && isKnown(entry, {})) {
        m_seenEntryIds.insert(entry.entryId);
        noteKnown();
        reportSkipped(pageKey, entry);
        return true;
    }
    const QString detailUrl = Harvest::detailUrl(m_plan.shareSite, m_plan.profile, entry.entryId);
    m_detailsAhead.remove(detailUrl);
    const bool detailAllowed = allowed(detailUrl);
    const Answer detail = detailAllowed ? answerFor(detailUrl) : Answer{};
    if (detail.kind == Answer::Kind::Stopped) {
        m_summary.stopped = true;
        return false;
    }
    if (detail.kind == Answer::Kind::GivenUp) // the site asked for a longer pause than the crawl waits
        return false;
    m_seenEntryIds.insert(entry.entryId);
    if (!detailAllowed) {
        ++m_summary.disallowed;
    } else if (detail.isOk()) {
        entry.shareCode = Harvest::cutShareCode(detail.body, m_plan.profile.shareLinkMarkerOr(m_plan.sharePrefix)).value_or(QString());
    } else {
        ++m_summary.detailsFailed;
        reportFailure(u"detail page of entry "_s + entry.entryId + u" (page "_s + pageName(page)
                             + u") failed: "_s + detail.describe());
    }
    if (!entry.shareCode.isEmpty()) {
        if (m_seenShareCodes.contains(entry.shareCode)) {
            ++m_summary.duplicates;
            reportSkipped(pageKey, entry);
            return true;
        }
        m_seenShareCodes.insert(entry.shareCode);
    }

    CrawlRow row{page, std::move(entry), {}, std::nullopt};
    if (!row.entry.shareCode.isEmpty())
        row.shareUrl = m_plan.sharePrefix + row.entry.shareCode;
    const bool known = isKnown(row.entry, row.shareUrl);
    if (known) {
        noteKnown();
        if (m_plan.newOnly) {
            reportSkipped(pageKey, row.entry);
            return true;
        }
    } else {
        m_knownInRow = 0;
    }
    if (m_plan.linksChecked()) {
        row.link = checkLink(row.shareUrl);
        ++m_summary.links[row.link->verdict.state];
    }
    if (m_plan.writtenStates.isEmpty() || m_plan.writtenStates.contains(row.link->verdict.state)) {
        if (!m_callbacks->row(row)) {
            m_summary.outputFailed = true;
            return false;
        }
        ++m_summary.rowsWritten;
        m_summary.newRows += known ? 0 : 1;
    } else {
        reportSkipped(pageKey, row.entry);
    }
    reportProgress(page, false);
    return true;
}

// Rows without a share code have no link to check.
LinkCheck Crawler::checkLink(const QString &shareUrl)
{
    if (shareUrl.isEmpty())
        return {};
    if (m_callbacks->cachedLink) {
        if (std::optional<LinkCheck> cached = m_callbacks->cachedLink(shareUrl))
            return *std::move(cached);
    }
    return checkShareAnswers(answerFor(shareUrl), [&] { return againFor(shareUrl); }, m_plan.profile.shareRules);
}

void Crawler::reportSkipped(int page, const Harvest::ResourceEntry &entry) const
{
    if (m_callbacks->entrySkipped)
        m_callbacks->entrySkipped(page, entry);
}

bool Crawler::isKnown(const Harvest::ResourceEntry &entry, const QString &shareUrl) const
{
    return m_callbacks->known && m_callbacks->known(entry, shareUrl);
}

void Crawler::noteKnown()
{
    ++m_summary.known;
    ++m_knownInRow;
}

bool Crawler::knownEnough() const
{
    return m_plan.stopAfterKnown > 0 && m_knownInRow >= m_plan.stopAfterKnown;
}

void Crawler::reportFailure(const QString &line) const
{
    if (m_callbacks->failure)
        m_callbacks->failure(line);
}

void Crawler::reportNotice(const QString &line) const
{
    if (m_callbacks->notice)
        m_callbacks->notice(line);
}

void Crawler::reportProgress(std::optional<int> endedPage, bool pageEnded)
{
    if (!m_callbacks->progress)
        return;
    CrawlProgress progress;
    progress.pagesDone = m_summary.pagesRead + m_summary.pagesFailed;
    progress.pagesPlanned = m_summary.pagesPlanned;
    progress.rowsWritten = m_summary.rowsWritten;
    progress.links = m_summary.links;
    progress.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
    progress.endedPage = endedPage;
    progress.pageEnded = pageEnded;
    m_callbacks->progress(progress);
}

} // namespace Crawl
