#pragma once

#include "crawl/hostdelay.h"
#include "crawl/stopswitch.h"
#include "text/gbk.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class QUrl;

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
// is given up and its later requests are not sent. The stop switch lets the request in flight
// finish and cuts every wait short.
class Fetcher
{
public:
    Fetcher(Pacing pacing, const StopSwitch &stop);

    // How an answer's body becomes text: as a page declares it (GBK when it does not), or as
    // UTF-8 whatever it declares (robots.txt).
    enum class BodyText { Page, Utf8 };

    Answer get(const QString &url, BodyText text = BodyText::Page);

    // Never less than floor between two requests to url's host (a site profile's minimum delay,
    // a robots.txt Crawl-delay); a higher floor already kept stays.
    void keepAtLeast(const QString &url, std::chrono::milliseconds floor);
    // The next request to url's host waits until pause has passed from now, as after a
    // Retry-After; the stop switch cuts the wait short.
    void holdBack(const QString &url, std::chrono::milliseconds pause);
    // One line per host given up: "HOST asked for a pause of N s (Retry-After)".
    QStringList hostsGivenUp() const;
    bool isGivenUp(const QString &url) const;

    int requestsSent() const { return m_requestsSent; }
    bool stopRequested() const { return m_stop.isOn(); }

private:
    struct Host
    {
        HostDelay delay;
        std::optional<std::chrono::steady_clock::time_point> lastEnd;
        std::chrono::steady_clock::time_point notBefore; // what a Retry-After asked for
        QString givenUp;                                  // why; empty while its requests are sent
    };

    // One attempt; retryAfter gets the answer's Retry-After header.
    Answer getOnce(const QUrl &url, BodyText text, Host &host, QByteArray &retryAfter);
    Host &hostOf(const QString &key);
    void waitFor(std::chrono::milliseconds duration) const;
    void waitForHost(const Host &host) const;

    Pacing m_pacing;
    const StopSwitch &m_stop;
    QHash<QString, Host> m_hosts; // by hostKey()
    int m_requestsSent = 0;
};

} // namespace Crawl
