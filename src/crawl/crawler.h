#pragma once

#include "config/siteprofile.h"
#include "crawl/answersahead.h"
#include "crawl/crawlrow.h"
#include "crawl/fetcher.h"
#include "crawl/linkcache.h"
#include "crawl/linkcheck.h"
#include "crawl/robotsrules.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace Crawl {

// The name robots.txt groups address this crawler by, whatever User-Agent its requests carry.
// A product token holds letters, "_" and "-" only (RFC 9309), and a group's value counts by its
// leading run of those: "User-agent: vorlen360" and "Vorlen360/2" both name it.
inline constexpr char16_t kRobotsProductToken[] = u"vorlen";

// The page key of a keyword's results among the pages of a job.
inline constexpr int kResultsPage = -1;

// Where a crawl job stands: what a resumed run skips.
struct ResumePoint
{
    QSet<int> donePages;        // read to their end
    QSet<QString> doneEntries;  // "page:entryId" of every entry finished, with a row or without
    QSet<QString> seenEntryIds;
    QSet<QString> seenShareCodes;
    QHash<int, QList<Harvest::ResourceEntry>> listings; // the entries of pages read but not done

    // How doneEntries names an entry.
    static QString entryKey(int page, const QString &entryId) { return QString::number(page) + u':' + entryId; }
    bool isDone(int page, const QString &entryId) const
    {
        return !doneEntries.isEmpty() && doneEntries.contains(entryKey(page, entryId));
    }
};

struct CrawlPlan
{
    QString shareSite;   // ends with "/"
    QString sharePrefix; // of every share link
    Config::SiteProfile profile; // how the site's pages are read and its addresses built
    int firstPage = 0;   // listing pages firstPage..lastPage, unless keyword is set
    int lastPage = 0;
    QString keyword;     // when set: the one page of results for it
    bool checkLinks = false;
    // Write only rows whose link came to one of these (implies checking them); empty: every row.
    QList<LinkState> writtenStates;
    // The least pause before a share that read dead by a wording is asked again (checkShare).
    std::chrono::milliseconds recheckGap = kRecheckGap;
    // Read the share site's robots.txt first and keep to it: pages it disallows are not fetched,
    // its Crawl-delay is the least pause; a robots.txt that cannot be read stops the crawl.
    bool obeyRobots = false;
    // With CrawlCallbacks::known: write only shares it does not know (an entry it knows by its
    // entry id costs no detail request), and end the paging once this many entries in a row
    // were known (0: never). Listings are newest first, so what follows is older still.
    bool newOnly = false;
    int stopAfterKnown = 0;

    // What an earlier run of the same job already did: these pages are not read again (the
    // keyword results are page -1), and the seen ids and codes count as written before.
    ResumePoint resume;

    bool linksChecked() const { return checkLinks || !writtenStates.isEmpty(); }
};

// Rows by the state their link came to.
class LinkCounts
{
public:
    int &operator[](LinkState state) { return m_counts[static_cast<std::size_t>(state)]; }
    int operator[](LinkState state) const { return m_counts[static_cast<std::size_t>(state)]; }

private:
    std::array<int, static_cast<std::size_t>(LinkState::Unknown) + 1> m_counts{};
};

struct CrawlProgress
{
    int pagesDone = 0; // read or failed
    int pagesPlanned = 0;
    int rowsWritten = 0;
    LinkCounts links;
    std::chrono::milliseconds elapsed{0};
    std::optional<int> endedPage; // set when a page has just been finished (none for keyword results)
    bool pageEnded = false;
};

struct CrawlSummary
{
    int pagesPlanned = 0;
    int pagesRead = 0;
    int pagesFailed = 0;
    int detailsFailed = 0;
    int rowsWritten = 0;
    int duplicates = 0;
    int known = 0;    // entries CrawlCallbacks::known knew
    int newRows = 0;  // rows written that it did not know
    LinkCounts links; // every row whose link was checked, written or not
    int disallowed = 0;        // rows written without a share code: robots.txt disallows their detail page
    QString robotsUnreadable;  // why nothing was crawled: the share site's robots.txt could not be read
    bool stopped = false;      // by the stop switch
    bool outputFailed = false; // a row could not be written; the crawl ended there
    QStringList failedPages; // page numbers, or "keyword results"
    // Pages with content but neither an entry marker nor an empty-result wording
    // (Harvest::isUnrecognisedPage): the site has probably changed its layout.
    QStringList unrecognisedPages;
    // Hosts given up because their Retry-After asked for too long (Fetcher::hostsGivenUp); the
    // crawl ends when the share site is one of them.
    QStringList hostsGivenUp;
    std::chrono::milliseconds elapsed{0};
};

struct CrawlCallbacks
{
    std::function<bool(const CrawlRow &)> row;              // writes a row as soon as it is known; false: could not
    std::function<void(const CrawlProgress &)> progress;    // after every row and every page
    std::function<void(const QString &)> failure;           // one line: what failed and why
    std::function<void(const QString &)> notice;            // one line the user should know of
    // An earlier check the caller still trusts (isFresh): the share is not asked. Optional.
    CachedLink cachedLink;
    // For a job: an entry finished without a row (a duplicate, or a link state not written),
    // and a page read to its end. Optional.
    std::function<void(int page, const Harvest::ResourceEntry &)> entrySkipped;
    std::function<void(int page)> pageDone;
    std::function<void(int page, const QList<Harvest::ResourceEntry> &)> listingRead;
    // Whether the caller holds this share already: asked with an empty share URL before the
    // detail page (newOnly), then with the share URL when it is known. Optional.
    std::function<bool(const Harvest::ResourceEntry &, const QString &shareUrl)> known;
};

// Harvests many pages one request after the other: each listing page, then every entry's detail
// page (a failed detail page still gives its row, without a share code), optionally each share
// link (checkShare, unless the caller's cachedLink has a check). Rows are handed out as they are finished and forgotten; only the keys that recognise a
// share already written are kept. A share is the same when its share code is, or, for rows
// without one, its entry id; a repeated entry id costs no detail request. With obeyRobots, the
// share site's robots.txt is read first (through the same fetcher): a listing page it disallows
// is a failed page, an entry whose detail page it disallows a row without a share code.
//
// With a fetcher that sends several requests at once, the pages, detail pages and share links
// the crawl is about to take are asked for ahead (AnswersAhead), as many as it sends at once,
// while the rows still come out one by one in page and row order.
class Crawler
{
public:
    Crawler(CrawlPlan plan, Fetcher &fetcher);

    CrawlSummary run(const CrawlCallbacks &callbacks);

private:
    // Reads the share site's robots.txt; false when it could not be read (robotsUnreadable says why).
    bool readRobots();
    bool allowed(const QString &url) const;
    void crawlPage(std::optional<int> page);
    QString pageUrl(int pageKey) const;
    // false when the crawl must end: the stop switch, or the row could not be written.
    bool crawlEntry(Harvest::ResourceEntry entry, std::optional<int> page);
    // The entries of a page, one after the other, then the page's end.
    void crawlEntries(const QList<Harvest::ResourceEntry> &entries, std::optional<int> page);
    LinkCheck checkLink(const QString &shareUrl);
    // The answer to url, asked for now unless it was asked ahead; what follows is asked ahead.
    Answer answerFor(const QString &url);
    // The second answer for a share that read as dead, no sooner than the recheck gap after the first.
    Answer againFor(const QString &shareUrl);
    // Asks for detail pages ahead, in the crawl's order from where it stands, until there is no
    // more room or the next one waits for a listing not read yet.
    void askAhead();
    // The entries of a page as the crawl will read them; nullptr while its listing is not read
    // (it is asked for, if there is room).
    const QList<Harvest::ResourceEntry> *entriesAhead(int pageKey);
    // false when there is no more room.
    bool askDetailAhead(const Harvest::ResourceEntry &entry, Turn turn);
    // What an answer asked ahead leads to: a listing's detail pages, a detail page's share
    // link, a dead share's second look.
    void arrivedAhead(const QString &url, AnswersAhead::Kind kind, Turn turn, const Answer &answer);
    void askShareAhead(const Harvest::ResourceEntry &entry, Turn turn, const Answer &detail);
    bool isKnown(const Harvest::ResourceEntry &entry, const QString &shareUrl) const;
    void noteKnown();
    // Enough known entries in a row to end the paging (stopAfterKnown).
    bool knownEnough() const;
    void reportProgress(std::optional<int> endedPage, bool pageEnded);
    void reportSkipped(int page, const Harvest::ResourceEntry &entry) const;
    void reportFailure(const QString &line) const;
    void reportNotice(const QString &line) const;

    CrawlPlan m_plan;
    Fetcher &m_fetcher;
    const CrawlCallbacks *m_callbacks = nullptr;
    CrawlSummary m_summary;
    RobotsRules m_robots; // everything allowed unless obeyRobots
    QSet<QString> m_seenEntryIds;
    QSet<QString> m_seenShareCodes;
    int m_knownInRow = 0;
    std::chrono::steady_clock::time_point m_start;

    // Asking ahead: none while the fetcher sends one request at a time. Answers held ahead for
    // each request the fetcher sends at once: enough that a dead share's second look, 2 s
    // later, does not hold up the requests behind it.
    static constexpr int kAheadPerRequest = 16;
    std::unique_ptr<AnswersAhead> m_ahead;
    QHash<int, QList<Harvest::ResourceEntry>> m_listingsAhead; // read ahead of their turn
    QHash<QString, Harvest::ResourceEntry> m_detailsAhead;     // by detail URL, asked ahead
    QSet<QString> m_idsAhead;   // entry ids whose detail page was asked ahead, or skipped
    QSet<QString> m_codesAhead; // share codes whose link was asked ahead
    Turn m_turn{0, -1};         // where the crawl stands
    Turn m_frontier;            // the first entry not yet looked at ahead
    const QList<Harvest::ResourceEntry> *m_entries = nullptr; // of the page at m_turn, once read
};

} // namespace Crawl
