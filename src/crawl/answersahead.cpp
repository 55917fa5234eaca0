#include "crawl/answersahead.h"

#include <QEventLoop>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Crawl {

AnswersAhead::AnswersAhead(Fetcher &fetcher, int room, Arrived arrived)
    : m_fetcher(fetcher), m_room(std::max(room, 1)), m_arrived(std::move(arrived))
{
}

AnswersAhead::~AnswersAhead()
{
    clear();
}

void AnswersAhead::ask(const QString &key, const QString &url, Turn turn, Kind kind, std::chrono::milliseconds after)
{
    const bool room = kind == Kind::Again || (kind == Kind::Share ? m_slots.size() < m_room : hasRoom());
    if (m_slots.contains(key) || !room)
        return;
    m_slots.insert(key, Slot{0, turn, kind, std::nullopt});
    const auto answered = [this, key, url](Answer answer) {
        const auto slot = m_slots.find(key);
        if (slot == m_slots.end())
            return;
        slot->answer = std::move(answer);
        if (m_waiting && m_awaited == key)
            m_waiting->quit();
        else // later, so that asking on from it never runs inside this object's own calls
            QMetaObject::invokeMethod(&m_context, [this, key, url] { report(key, url); }, Qt::QueuedConnection);
    };
    const Fetcher::Ticket ticket = m_fetcher.fetch(url, Fetcher::BodyText::Page, answered, after);
    // An answer given at once (a bad URL) has its slot filled already.
    if (const auto slot = m_slots.find(key); slot != m_slots.end())
        slot->ticket = ticket;
}

// Only an answer still waiting for its turn: one taken meanwhile is the crawl's own business.
void AnswersAhead::report(const QString &key, const QString &url) const
{
    const auto slot = m_slots.constFind(key);
    if (slot == m_slots.cend() || !slot->answer || !m_arrived)
        return;
    const Answer answer = *slot->answer; // shares the body; the slot may move when more is asked
    m_arrived(url, slot->kind, slot->turn, answer);
}

Answer AnswersAhead::take(const QString &key, const QString &url, std::chrono::milliseconds after)
{
    auto slot = m_slots.find(key);
    if (slot == m_slots.end())
        return m_fetcher.get(url, Fetcher::BodyText::Page, after, Fetcher::Order::First);
    if (!slot->answer) {
        QEventLoop loop;
        m_awaited = key;
        m_waiting = &loop;
        loop.exec();
        m_waiting = nullptr;
        m_awaited.clear();
        slot = m_slots.find(key);
        if (slot == m_slots.end()) // dropped meanwhile, by what its answer led to
            return m_fetcher.get(url, Fetcher::BodyText::Page, after, Fetcher::Order::First);
    }
    const Fetcher::Ticket ticket = slot->ticket;
    std::optional<Answer> answer = std::move(slot->answer);
    m_slots.erase(slot);
    if (!answer) { // the application is quitting: its loops return at once
        m_fetcher.cancel(ticket);
        return Answer{Answer::Kind::Transport, 0, {}, u"interrupted"_s};
    }
    return *std::move(answer);
}

void AnswersAhead::dropBefore(Turn turn)
{
    for (auto slot = m_slots.begin(); slot != m_slots.end();) {
        if (slot->turn < turn) {
            if (!slot->answer)
                m_fetcher.cancel(slot->ticket);
            slot = m_slots.erase(slot);
        } else {
            ++slot;
        }
    }
}

void AnswersAhead::clear()
{
    const QHash<QString, Slot> asked = std::exchange(m_slots, {});
    for (const Slot &slot : asked) {
        if (!slot.answer)
            m_fetcher.cancel(slot.ticket);
    }
}

} // namespace Crawl
