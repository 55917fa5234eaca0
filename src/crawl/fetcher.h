#pragma once

#include "crawl/stopswitch.h"
#include "text/gbk.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <chrono>

namespace Crawl {

// What one GET came to, after its retries.
struct Answer
{
    enum class Kind {
        Http,      // an answer with a status line: status and the decoded body
        Transport, // no complete answer: refused, timed out, dropped, malformed, larger than Net::kLargestPage
        Stopped,   // not sent, the stop switch was on
    };
    Kind kind = Kind::Transport;
    int status = 0;
    QString body;
    QString failure; // why a transport failure failed

    bool isOk() const { return kind == Kind::Http && status >= 200 && status < 300; }
    // "HTTP 503", the transport's error text, or "stopped".
    QString describe() const;
};

struct Pacing
{
    std::chrono::milliseconds delay{0};        // between the end of one request and the next to its host
    int retries = 2;                           // further attempts after a transport failure or a 5xx
    std::chrono::milliseconds backoffBase{500}; // before retry n (0-based): base * 2^n with jitter
    std::chrono::milliseconds backoffCap{10000};
    std::chrono::milliseconds transferTimeout{std::chrono::seconds(30)}; // a silent server fails the request
    QByteArray fallbackCharset = Text::kGbkName; // of a page that declares none
};

// The wait before retry `retry` (0-based): min(cap, base * 2^retry), of which a random half is
// taken away (jitter in 0..1), so clients that failed together do not come back together.
std::chrono::milliseconds backoffDelay(const Pacing &pacing, int retry, double jitter);

// The crawl's request step: GETs on the process's one network manager with the page fetch's
// header, timeout and size limit, keeping status codes, a pause per host and retries. Every
// answer with a status is an answer, as for the page fetch: a 4xx is final at once, a 5xx
// retried. The stop switch lets the request in flight finish and cuts every wait short.
class Fetcher
{
public:
    Fetcher(Pacing pacing, const StopSwitch &stop);

    Answer get(const QString &url);

    int requestsSent() const { return m_requestsSent; }
    bool stopRequested() const { return m_stop.isOn(); }

private:
    Answer getOnce(const QString &url);
    void waitFor(std::chrono::milliseconds duration) const;
    void waitForHost(const QString &host) const;

    Pacing m_pacing;
    const StopSwitch &m_stop;
    QHash<QString, std::chrono::steady_clock::time_point> m_lastEnd; // by host and port
    int m_requestsSent = 0;
};

} // namespace Crawl
