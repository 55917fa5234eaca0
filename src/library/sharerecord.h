#pragma once

#include "crawl/linkstate.h"
#include "harvest/resourceentry.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace Library {

// What kind of run saw a share.
enum class RunKind {
    Page,   // a listing page of the window or of harvest
    Search, // a keyword's results of the window or of search
    Crawl,  // a crawl of pages or of a keyword
    Import, // a file of JSON lines read in
    Watch,  // a watch's incremental crawl; the run's subject is the watch's name
};

// One share as the library keeps it.
struct ShareRecord
{
    qint64 id = 0;
    QString key; // the share URL (share-link prefix + share code), or the entry id when there is no code
    QString title;
    QString fileCount;
    QString entryId;
    QString shareCode;
    QString extractionCode;
    QString shareUrl; // empty when the share code is unknown
    QDateTime firstSeen;
    QDateTime lastSeen;
    int timesSeen = 0;
    bool hidden = false;
    QDateTime copiedAt; // invalid: never
    QDateTime openedAt;
    QString firstSource; // "page 3" or the keyword of the run that first saw it
    std::optional<Crawl::LinkVerdict> link; // the latest check; none when never checked
    QDateTime linkCheckedAt;
};

// One sighting to record: the entry as harvested and where it was seen.
struct Sighting
{
    Harvest::ResourceEntry entry;
    QString shareUrl;           // empty when the share code is unknown
    std::optional<int> page;    // the listing page; none for keyword results
    QString keyword;            // the keyword of search results; empty for a page
    QDateTime seenAt;
    std::optional<Crawl::LinkCheck> link; // when its link was checked on the way
};

// Where a share was seen, for the filter.
enum class SourceKind { Any, Page, Keyword, Watch };

enum class SortColumn { LastSeen, FirstSeen, Title, FileCount, ShareCode, ExtractionCode, LinkState, TimesSeen };

struct Query
{
    QString text; // a substring of the title, case-insensitive; empty: every share
    QList<Crawl::LinkState> states; // empty: any; Unknown takes in shares never checked
    QDateTime since;                // first seen at or after; invalid: any time
    SourceKind source = SourceKind::Any;
    QString sourceValue;            // with Page: a page number, with Keyword: the keyword, with Watch: its name;
                                    // empty: any of that kind
    bool includeHidden = false;
    SortColumn sort = SortColumn::LastSeen;
    Qt::SortOrder order = Qt::DescendingOrder;
    int limit = -1; // -1: all
};

} // namespace Library
