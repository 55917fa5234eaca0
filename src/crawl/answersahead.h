#pragma once

#include "crawl/fetcher.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <utility>

class QEventLoop;

namespace Crawl {

// Where an answer is taken in the crawl's order: (page, entry number), -1 for the page itself.
using Turn = std::pair<int, qsizetype>;

// Answers asked for before their turn, by URL, so that several requests run while the crawl
// takes their answers one by one in its own order. At most `room` are held, in flight or
// answered, and a second look at each share held besides; one whose turn has passed untaken is cancelled, as is all that is left with this
// object. Each answer that comes before it is taken is reported from the event loop, so the
// asker can ask for what follows from it.
class AnswersAhead
{
public:
    enum class Kind { Page, Detail, Share, Again };
    using Arrived = std::function<void(const QString &url, Kind, Turn, const Answer &)>;

    AnswersAhead(Fetcher &fetcher, int room, Arrived arrived);
    ~AnswersAhead();
    AnswersAhead(const AnswersAhead &) = delete;
    AnswersAhead &operator=(const AnswersAhead &) = delete;

    // Detail pages and listings take half the room, so that share links found from them and a
    // dead share's second look are asked for while the crawl waits for its turn.
    bool hasRoom() const { return m_slots.size() < m_room / 2; }
    // Asks for url, taken at turn, unless it is asked already or there is no room.
    void ask(const QString &url, Turn turn, Kind kind) { ask(url, url, turn, kind, {}); }
    // Asks for url once more, sent no sooner than after from now (a share read as dead).
    void askAgain(const QString &url, Turn turn, std::chrono::milliseconds after)
    {
        ask(againKey(url), url, turn, Kind::Again, after);
    }
    // Cancels what was asked for a turn before turn.
    void dropBefore(Turn turn);
    // The answer to url: the one asked ahead (waiting for it while it is in flight), else a GET
    // now, before what is asked ahead.
    Answer take(const QString &url) { return take(url, url, {}); }
    Answer takeAgain(const QString &url, std::chrono::milliseconds after) { return take(againKey(url), url, after); }
    // Cancels whatever was not taken.
    void clear();

private:
    static QString againKey(const QString &url) { return u"again "_qs + url; }
    void ask(const QString &key, const QString &url, Turn turn, Kind kind, std::chrono::milliseconds after);
    void report(const QString &key, const QString &url) const;
    Answer take(const QString &key, const QString &url, std::chrono::milliseconds after);

    struct Slot
    {
        Fetcher::Ticket ticket = 0;
        Turn turn;
        Kind kind = Kind::Page;
        std::optional<Answer> answer;
    };

    Fetcher &m_fetcher;
    qsizetype m_room;
    Arrived m_arrived;
    QObject m_context; // of the reports still to come: none outlives this object
    QHash<QString, Slot> m_slots;
    QString m_awaited; // what take() waits for
    QEventLoop *m_waiting = nullptr;
};

} // namespace Crawl
