#include "library/crawlsighting.h"

using namespace Qt::StringLiterals;

namespace Library {

Sighting sightingOf(const Crawl::CrawlRow &row, const QString &keyword)
{
    Sighting sighting;
    sighting.entry = row.entry;
    sighting.shareUrl = row.shareUrl;
    sighting.page = row.page;
    if (!row.page)
        sighting.keyword = keyword;
    sighting.seenAt = QDateTime::currentDateTimeUtc();
    return sighting;
}

QString crawlSubject(const Crawl::CrawlPlan &plan)
{
    if (!plan.keyword.isEmpty())
        return plan.keyword;
    if (plan.firstPage == plan.lastPage)
        return QString::number(plan.firstPage);
    return QString::number(plan.firstPage) + u'-' + QString::number(plan.lastPage);
}

} // namespace Library
