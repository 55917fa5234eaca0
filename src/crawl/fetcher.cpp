#include "crawl/fetcher.h"

#include "crawl/retryafter.h"
#include "net/networkaccess.h"
#include "net/pagedecoding.h"
#include "net/proxyfactory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QSet>
#include <QTimer>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Crawl {

namespace {

bool isThrottling(const Answer &answer)
{
    return answer.kind == Answer::Kind::Http && (answer.status == 429 || answer.status == 503);
}

bool isRetried(const Answer &answer)
{
    return answer.kind == Answer::Kind::Transport || isThrottling(answer)
        || (answer.kind == Answer::Kind::Http && answer.status >= 500);
}

Answer stoppedAnswer()
{
    Answer answer;
    answer.kind = Answer::Kind::Stopped;
    return answer;
}

QString transportFailure(const QNetworkReply &reply)
{
    if (Net::passedLimit(reply))
        return u"answer larger than "_s + QString::number(Net::kLargestPage >> 20) + u" MiB"_s;
    const QString proxy = Net::proxyNameFor(reply.request().url());
    return proxy.isEmpty() ? reply.errorString() : reply.errorString() + u" (through proxy "_s + proxy + u')';
}

double randomFraction()
{
    return QRandomGenerator::global()->generateDouble();
}

} // namespace

QString Answer::describe() const
{
    switch (kind) {
    case Kind::Http: return u"HTTP "_s + QString::number(status);
    case Kind::Transport:
    case Kind::GivenUp: return failure;
    case Kind::Stopped: break;
    }
    return u"stopped"_s;
}

std::chrono::milliseconds backoffDelay(const Pacing &pacing, int retry, double jitter)
{
    auto full = pacing.backoffBase;
    for (int i = 0; i < retry && full < pacing.backoffCap; ++i)
        full *= 2;
    full = std::min(full, pacing.backoffCap);
    const double kept = 1.0 - std::clamp(jitter, 0.0, 1.0) / 2;
    return std::chrono::milliseconds(static_cast<qint64>(static_cast<double>(full.count()) * kept));
}

QString hostKey(const QUrl &url)
{
    return url.host() + u':' + QString::number(url.port(url.scheme() == u"https" ? 443 : 80));
}

Fetcher::Fetcher(Pacing pacing, const StopSwitch &stop)
    : m_pacing(pacing), m_stop(stop), m_timer(new QTimer(&m_context))
{
    m_pacing.concurrency = std::max(1, m_pacing.concurrency);
    m_pacing.perHost = std::max(1, m_pacing.perHost);
    m_timer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early, which a host's Retry-After does not allow.
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer, &QTimer::timeout, &m_context, [this] { pump(); });
    QObject::connect(&m_stop, &StopSwitch::turnedOn, &m_context, [this] { pump(); });
}

// The replies in flight are aborted, their signals cut.
Fetcher::~Fetcher() = default;

Fetcher::Host &Fetcher::hostOf(const QString &key)
{
    auto it = m_hosts.find(key);
    if (it == m_hosts.end())
        it = m_hosts.insert(key, Host{HostDelay(m_pacing.delay, m_pacing.jitter), {}, {}, 0, 0, {}, 0, {}});
    return *it;
}

void Fetcher::keepAtLeast(const QString &url, std::chrono::milliseconds floor)
{
    HostDelay &delay = hostOf(hostKey(QUrl(url))).delay;
    delay.setFloor(std::max(delay.floor(), floor));
}

QStringList Fetcher::hostsGivenUp() const
{
    QStringList lines;
    for (const Host &host : m_hosts) {
        if (!host.givenUp.isEmpty())
            lines.append(host.givenUp);
    }
    return lines;
}

bool Fetcher::isGivenUp(const QString &url) const
{
    return !m_hosts.value(hostKey(QUrl(url))).givenUp.isEmpty();
}

Fetcher::Ticket Fetcher::fetch(const QString &url, BodyText text, Done done, std::chrono::milliseconds after, Order order)
{
    const Ticket ticket = ++m_lastTicket;
    Request request{ticket, order, QUrl(url), {}, text, 0, Clock::now() + after, std::move(done)};
    if (!request.url.isValid() || request.url.isRelative() || QCoreApplication::closingDown()) {
        request.done(Answer{Answer::Kind::Transport, 0, {}, u"bad URL "_s + url});
        return ticket;
    }
    request.hostKey = hostKey(request.url);
    enqueue(std::move(request));
    pump();
    return ticket;
}

Answer Fetcher::get(const QString &url, BodyText text, std::chrono::milliseconds after, Order order)
{
    std::optional<Answer> answer;
    QEventLoop loop;
    const Ticket ticket = fetch(url, text, [&](Answer given) {
        answer = std::move(given);
        loop.quit();
    }, after, order);
    if (!answer)
        loop.exec();
    if (!answer) { // the application is quitting: its loops return at once
        cancel(ticket);
        return Answer{Answer::Kind::Transport, 0, {}, u"interrupted"_s};
    }
    return *std::move(answer);
}

void Fetcher::cancel(Ticket ticket)
{
    std::erase_if(m_waiting, [ticket](const Request &request) { return request.ticket == ticket; });
    const auto sent = std::find_if(m_sent.begin(), m_sent.end(), [ticket](const Sent &s) { return s.request.ticket == ticket; });
    if (sent == m_sent.end())
        return;
    --hostOf(sent->request.hostKey).inFlight;
    m_sent.erase(sent); // the reply's deleter aborts it
    pump();
}

void Fetcher::enqueue(Request request)
{
    const auto place = std::lower_bound(m_waiting.begin(), m_waiting.end(), request, [](const Request &a, const Request &b) {
        return std::pair(a.order != Order::First, a.ticket) < std::pair(b.order != Order::First, b.ticket);
    });
    m_waiting.insert(place, std::move(request));
}

void Fetcher::pump()
{
    if (m_pumping)
        return;
    m_pumping = true;
    std::vector<std::pair<Done, Answer>> answered; // called once the queue is in order again
    const auto now = Clock::now();
    std::optional<Clock::time_point> next;
    QSet<QString> held; // hosts whose earlier request waits: theirs go in order
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        Host &host = hostOf(it->hostKey);
        if (m_stop.isOn() || !host.givenUp.isEmpty()) {
            answered.emplace_back(std::move(it->done), m_stop.isOn() ? stoppedAnswer()
                                                                     : Answer{Answer::Kind::GivenUp, 0, {}, u"not sent: "_s + host.givenUp});
            it = m_waiting.erase(it);
            continue;
        }
        if (std::ssize(m_sent) >= m_pacing.concurrency)
            break;
        const auto hostDue = dueOf(host);
        if (held.contains(it->hostKey) || host.inFlight >= m_pacing.perHost || hostDue > now) {
            if (hostDue > now)
                next = std::min(next.value_or(hostDue), hostDue);
            held.insert(it->hostKey);
            ++it;
            continue;
        }
        if (it->notBefore > now) {
            next = std::min(next.value_or(it->notBefore), it->notBefore);
            ++it;
            continue;
        }
        Request request = std::move(*it);
        it = m_waiting.erase(it);
        sendNow(std::move(request), host);
    }
    if (next)
        m_timer->start(std::chrono::ceil<std::chrono::milliseconds>(*next - now));
    else
        m_timer->stop();
    m_pumping = false;
    for (auto &[done, answer] : answered)
        done(std::move(answer));
}

// The host's pause after its last answer and whatever its Retry-After asked for; where it takes
// several requests at once, its pause also spaces their starts.
Fetcher::Clock::time_point Fetcher::dueOf(const Host &host) const
{
    auto due = host.notBefore;
    if (host.lastEnd)
        due = std::max(due, *host.lastEnd + host.delay.wait(host.endDraw));
    if (host.lastStart && m_pacing.concurrency > 1 && m_pacing.perHost > 1)
        due = std::max(due, *host.lastStart + host.delay.wait(host.startDraw));
    return due;
}

void Fetcher::sendNow(Request request, Host &host)
{
    ++host.inFlight;
    ++m_requestsSent;
    host.lastStart = Clock::now();
    host.startDraw = randomFraction();
    // The stop switch is not connected here: a request in flight always finishes.
    Net::ReplyPtr reply = Net::startPage(request.url, m_pacing.transferTimeout);
    QNetworkReply *sent = reply.get();
    QObject::connect(sent, &QNetworkReply::finished, &m_context, [this, sent] { onFinished(sent); });
    m_sent.push_back(Sent{std::move(request), std::move(reply)});
    if (sent->isFinished()) // failed before it was sent: finished may have been emitted already
        QMetaObject::invokeMethod(&m_context, [this, sent] { onFinished(sent); }, Qt::QueuedConnection);
}

void Fetcher::onFinished(QNetworkReply *finished)
{
    const auto it = std::find_if(m_sent.begin(), m_sent.end(), [finished](const Sent &s) { return s.reply.get() == finished; });
    if (it == m_sent.end())
        return;
    Sent sent = std::move(*it);
    m_sent.erase(it);
    Host &host = hostOf(sent.request.hostKey);
    --host.inFlight;

    QByteArray retryAfter;
    Answer answer;
    // The page fetch's rule: an answer with a status is an answer, whatever the status.
    if (!Net::isCompleteHttpAnswer(*finished)) {
        answer = Answer{Answer::Kind::Transport, 0, {}, transportFailure(*finished)};
    } else {
        retryAfter = finished->rawHeader("Retry-After"_ba);
        const QByteArray body = finished->readAll();
        answer = Answer{Answer::Kind::Http, finished->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                        sent.request.text == BodyText::Utf8
                            ? QString::fromUtf8(body)
                            : Net::decodePage(finished->header(QNetworkRequest::ContentTypeHeader).toByteArray(), body,
                                              m_pacing.fallbackCharset),
                        {}};
        isThrottling(answer) ? host.delay.throttled() : host.delay.succeeded();
    }
    host.lastEnd = Clock::now();
    host.endDraw = randomFraction();

    std::optional<Answer> final = settle(sent.request, std::move(answer), retryAfter);
    const Done done = final ? std::move(sent.request.done) : Done();
    pump();
    if (final)
        done(*std::move(final));
}

std::optional<Answer> Fetcher::settle(Request &request, Answer answer, const QByteArray &retryAfter)
{
    Host &host = hostOf(request.hostKey);
    const auto wait = isThrottling(answer) ? retryAfterWait(retryAfter, QDateTime::currentDateTimeUtc()) : std::nullopt;
    if (wait && *wait > m_pacing.longestRetryAfter) {
        const auto seconds = std::chrono::ceil<std::chrono::seconds>(*wait).count();
        host.givenUp = request.hostKey + u" asked for a pause of "_s + QString::number(seconds) + u" s (Retry-After)"_s;
        return answer;
    }
    if (wait) // every request to the host waits, not only this one's retry
        host.notBefore = std::max(host.notBefore, Clock::now() + *wait);
    if (!isRetried(answer) || request.attempt >= m_pacing.retries)
        return answer;
    if (m_stop.isOn())
        return stoppedAnswer();
    request.notBefore = wait ? Clock::time_point{} : Clock::now() + backoffDelay(m_pacing, request.attempt, randomFraction());
    ++request.attempt;
    enqueue(std::move(request));
    return std::nullopt;
}

} // namespace Crawl
