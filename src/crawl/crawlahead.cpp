// The crawler's asking ahead: the pages, detail pages and share links it will take next are
// asked for while it takes the earlier ones, as its own steps would ask for them.
#include "crawl/crawler.h"

#include "harvest/entryparser.h"
#include "harvest/sharecode.h"
#include "harvest/siteurls.h"

using namespace Qt::StringLiterals;

namespace Crawl {

Answer Crawler::answerFor(const QString &url)
{
    if (!m_ahead)
        return m_fetcher.get(url);
    askAhead();
    return m_ahead->take(url);
}

Answer Crawler::againFor(const QString &shareUrl)
{
    if (!m_ahead)
        return m_fetcher.get(shareUrl, Fetcher::BodyText::Page, m_plan.recheckGap);
    askAhead();
    return m_ahead->takeAgain(shareUrl, m_plan.recheckGap);
}

void Crawler::askAhead()
{
    m_ahead->dropBefore(m_turn);
    if (m_fetcher.stopRequested())
        return;
    m_frontier = std::max(m_frontier, Turn{m_turn.first, m_turn.second + 1});
    const int lastPage = m_plan.keyword.isEmpty() ? m_plan.lastPage : kResultsPage;
    while (m_ahead->hasRoom() && m_frontier.first <= lastPage) {
        const auto [pageKey, next] = m_frontier;
        const QList<Harvest::ResourceEntry> *entries = pageKey == m_turn.first && m_entries ? m_entries : entriesAhead(pageKey);
        if (!entries)
            return;
        if (next >= entries->size())
            m_frontier = {pageKey + 1, 0};
        else if (askDetailAhead(entries->at(next), m_frontier))
            ++m_frontier.second;
        else
            return;
    }
}

const QList<Harvest::ResourceEntry> *Crawler::entriesAhead(int pageKey)
{
    static const QList<Harvest::ResourceEntry> none;
    const QString url = pageUrl(pageKey);
    if (m_plan.resume.donePages.contains(pageKey) || !allowed(url))
        return &none;
    if (const auto kept = m_plan.resume.listings.constFind(pageKey); kept != m_plan.resume.listings.cend())
        return &*kept;
    if (const auto read = m_listingsAhead.constFind(pageKey); read != m_listingsAhead.cend())
        return &*read;
    m_ahead->ask(url, {pageKey, -1}, AnswersAhead::Kind::Page);
    return nullptr;
}

bool Crawler::askDetailAhead(const Harvest::ResourceEntry &entry, Turn turn)
{
    if (!m_ahead->hasRoom())
        return false;
    if (m_plan.resume.isDone(turn.first, entry.entryId) || m_seenEntryIds.contains(entry.entryId)
        || m_idsAhead.contains(entry.entryId))
        return true;
    m_idsAhead.insert(entry.entryId);
    if (m_plan.newOnly && isKnown(entry, {}))
        return true;
    const QString detailUrl = Harvest::detailUrl(m_plan.shareSite, m_plan.profile, entry.entryId);
    if (!allowed(detailUrl))
        return true;
    m_detailsAhead.insert(detailUrl, entry);
    m_ahead->ask(detailUrl, turn, AnswersAhead::Kind::Detail);
    return true;
}

void Crawler::arrivedAhead(const QString &url, AnswersAhead::Kind kind, Turn turn, const Answer &answer)
{
    switch (kind) {
    case AnswersAhead::Kind::Page:
        m_listingsAhead.insert(turn.first, answer.isOk() ? Harvest::parseEntries(answer.body, m_plan.profile)
                                                         : QList<Harvest::ResourceEntry>());
        askAhead();
        return;
    case AnswersAhead::Kind::Detail:
        askShareAhead(m_detailsAhead.take(url), turn, answer);
        return;
    case AnswersAhead::Kind::Share:
        // A share that reads as dead is asked again after a pause: that pause runs meanwhile too.
        if (wantsRecheck(answer, classifyShare(answer, m_plan.profile.shareRules)))
            m_ahead->askAgain(url, turn, m_plan.recheckGap);
        return;
    case AnswersAhead::Kind::Again:
        return;
    }
}

void Crawler::askShareAhead(const Harvest::ResourceEntry &entry, Turn turn, const Answer &detail)
{
    if (!m_plan.linksChecked() || !detail.isOk() || entry.entryId.isEmpty())
        return;
    const QString code = Harvest::cutShareCode(detail.body, m_plan.profile.shareLinkMarkerOr(m_plan.sharePrefix)).value_or(QString());
    if (code.isEmpty() || m_seenShareCodes.contains(code) || m_codesAhead.contains(code))
        return;
    m_codesAhead.insert(code);
    const QString shareUrl = m_plan.sharePrefix + code;
    if ((m_plan.newOnly && isKnown(entry, shareUrl)) || (m_callbacks->cachedLink && m_callbacks->cachedLink(shareUrl)))
        return;
    m_ahead->ask(shareUrl, turn, AnswersAhead::Kind::Share);
}

} // namespace Crawl
