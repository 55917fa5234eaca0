#pragma once

#include "crawl/hostdelay.h"
#include "crawl/stopswitch.h"
#include "net/networkaccess.h"
#include "text/gbk.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTimer;

namespace Crawl {

// What one GET came to, after its retries.
struct Answer
{
    enum class Kind {
        Http,      // an answer with a status line: status and the decoded body
        Transport, // no complete answer: refused, timed out, dropped, malformed, larger than Net::kLargestPage
        Stopped,   // not sent, the stop switch was on
        GivenUp,   // not sent: its host asked for a longer pause than the crawl waits (failure says)
    };
    Kind kind = Kind::Transport;
    int status = 0;
    QString body;
    QString failure; // why a transport failure failed, or why the host was given up

    bool isOk() const { return kind == Kind::Http && status >= 200 && status < 300; }
    // "HTTP 503", the transport's error text, "stopped", or why the host was given up.
    QString describe() const;
};

struct Pacing
{
    std::chrono::milliseconds delay{0};        // the set pause between the end of one request and the next to its host
    double jitter = 0.5;                       // each pause is (1 - jitter)..(1 + jitter) times the host's delay
    int retries = 2;                           // further attempts after a transport failure, a 429 or a 5xx
    std::chrono::milliseconds backoffBase{500}; // before retry n (0-based): base * 2^n with jitter
    std::chrono::milliseconds backoffCap{10000};
    // The longest Retry-After waited for; a host that asks for more is given up.
    std::chrono::milliseconds longestRetryAfter{std::chrono::seconds(120)};
    std::chrono::milliseconds transferTimeout{std::chrono::seconds(30)}; // a silent server fails the request
    QByteArray fallbackCharset = Text::kGbkName; // of a page that declares none
    int concurrency = 1; // requests in flight at once, to all hosts
    int perHost = 2;     // of which to one host
};

// The wait before retry `retry` (0-based): min(cap, base * 2^retry), of which a random half is
// taken away (jitter in 0..1), so clients that failed together do not come back together.
std::chrono::milliseconds backoffDelay(const Pacing &pacing, int retry, double jitter);

// "host:port" of url, the key of everything the fetcher keeps per host.
QString hostKey(const QUrl &url);

// The crawl's request step: GETs on the process's one network manager with the page fetch's
// header, timeout and size limit, keeping status codes, a pause per host and retries. Every
// answer with a status is an answer, as for the page fetch: a 4xx but 429 is final at once, a
// transport failure, a 429 or a 5xx is retried. A 429 or 503 doubles the host's pause
// (HostDelay), successes ease it back; its Retry-After holds every request to that host back
// for as long as it asks, unless it asks for more than Pacing::longestRetryAfter: then the host
// is given up and its later requests are not sent. The stop switch lets the requests in flight
// finish and ends every wait: what waits is answered as stopped.
//
// Requests wait in the order they were asked for (a retry keeps its place) and are sent while
// fewer than Pacing::concurrency are in flight and fewer than Pacing::perHost to their host. A
// host's pause runs from its last answer when nothing else is asked of it, else between the
// starts of its requests.
class Fetcher
{
public:
    Fetcher(Pacing pacing, const StopSwitch &stop);
    ~Fetcher(); // aborts what is in flight; no callback is called after
    Fetcher(const Fetcher &) = delete;
    Fetcher &operator=(const Fetcher &) = delete;

    // How an answer's body becomes text: as a page declares it (GBK when it does not), or as
    // UTF-8 whatever it declares (robots.txt).
    enum class BodyText { Page, Utf8 };

    using Ticket = quint64;
    using Done = std::function<void(Answer)>;
    // Where a request joins the queue: behind the others, or before every Queued one (what a
    // caller waits for now, ahead of what it asked for in advance).
    enum class Order { Queued, First };
    // Asks for url, sent no sooner than `after` from now; done gets the answer after its retries,
    // from the event loop (or at once, for a URL that cannot be asked). The ticket cancels it.
    Ticket fetch(const QString &url, BodyText text, Done done, std::chrono::milliseconds after = {},
                 Order order = Order::Queued);
    // Forgets a request: a waiting one is not sent, one in flight is aborted; done is not called.
    void cancel(Ticket ticket);
    // fetch() and wait for its answer in a nested event loop.
    Answer get(const QString &url, BodyText text = BodyText::Page, std::chrono::milliseconds after = {},
               Order order = Order::Queued);

    // Never less than floor between two requests to url's host (a site profile's minimum delay,
    // a robots.txt Crawl-delay); a higher floor already kept stays.
    void keepAtLeast(const QString &url, std::chrono::milliseconds floor);
    // One line per host given up: "HOST asked for a pause of N s (Retry-After)".
    QStringList hostsGivenUp() const;
    bool isGivenUp(const QString &url) const;

    int requestsSent() const { return m_requestsSent; }
    bool stopRequested() const { return m_stop.isOn(); }
    int concurrency() const { return m_pacing.concurrency; }

private:
    using Clock = std::chrono::steady_clock;

    struct Host
    {
        HostDelay delay;
        // Its pause runs from these, spread by a draw made then; its length is the delay's when
        // the next request is due, so a floor raised meanwhile (a Crawl-delay) counts.
        std::optional<Clock::time_point> lastEnd;
        std::optional<Clock::time_point> lastStart;
        double endDraw = 0;
        double startDraw = 0;
        Clock::time_point notBefore; // what a Retry-After asked for
        int inFlight = 0;
        QString givenUp; // why; empty while its requests are sent
    };
    struct Request
    {
        Ticket ticket = 0; // with order, its place in the queue
        Order order = Order::Queued;
        QUrl url;
        QString hostKey;
        BodyText text = BodyText::Page;
        int attempt = 0;
        Clock::time_point notBefore; // its own wait (a retry's backoff): holds no other request
        Done done;
    };
    struct Sent
    {
        Request request;
        Net::ReplyPtr reply;
    };

    Host &hostOf(const QString &key);
    Clock::time_point dueOf(const Host &host) const;
    // Sends what may be sent now and sets the timer for what waits; answers what cannot be sent.
    void pump();
    void sendNow(Request request, Host &host);
    void onFinished(QNetworkReply *reply);
    // After an answer or a failed attempt: the answer, or nothing when request went back to the
    // queue for a retry.
    std::optional<Answer> settle(Request &request, Answer answer, const QByteArray &retryAfter);
    void enqueue(Request request);

    Pacing m_pacing;
    const StopSwitch &m_stop;
    QHash<QString, Host> m_hosts;    // by hostKey()
    std::vector<Request> m_waiting;  // by ticket
    std::vector<Sent> m_sent;        // at most Pacing::concurrency
    QObject m_context;               // of every connection: none outlives the fetcher
    QTimer *m_timer;                 // the next time a waiting request may go; m_context's child
    Ticket m_lastTicket = 0;
    int m_requestsSent = 0;
    bool m_pumping = false;
};

} // namespace Crawl
