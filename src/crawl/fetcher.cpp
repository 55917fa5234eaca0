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
#include <QTimer>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Crawl {

namespace {

using Clock = std::chrono::steady_clock;

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
    if (!reply.isFinished())
        return u"interrupted"_s;
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

Fetcher::Fetcher(Pacing pacing, const StopSwitch &stop) : m_pacing(pacing), m_stop(stop) {}

Fetcher::Host &Fetcher::hostOf(const QString &key)
{
    auto it = m_hosts.find(key);
    if (it == m_hosts.end())
        it = m_hosts.insert(key, Host{HostDelay(m_pacing.delay, m_pacing.jitter), std::nullopt, {}, {}});
    return *it;
}

void Fetcher::keepAtLeast(const QString &url, std::chrono::milliseconds floor)
{
    HostDelay &delay = hostOf(hostKey(QUrl(url))).delay;
    delay.setFloor(std::max(delay.floor(), floor));
}

void Fetcher::holdBack(const QString &url, std::chrono::milliseconds pause)
{
    Host &host = hostOf(hostKey(QUrl(url)));
    host.notBefore = std::max(host.notBefore, Clock::now() + pause);
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

Answer Fetcher::get(const QString &url, BodyText text)
{
    const QUrl target(url);
    if (!target.isValid() || target.isRelative() || QCoreApplication::closingDown())
        return Answer{Answer::Kind::Transport, 0, {}, u"bad URL "_s + url};
    const QString key = hostKey(target);
    for (int attempt = 0;; ++attempt) {
        if (m_stop.isOn())
            return stoppedAnswer();
        if (const QString &givenUp = hostOf(key).givenUp; !givenUp.isEmpty())
            return Answer{Answer::Kind::GivenUp, 0, {}, u"not sent: "_s + givenUp};
        QByteArray retryAfter;
        const Answer answer = getOnce(target, text, hostOf(key), retryAfter);
        Host &host = hostOf(key);
        if (answer.kind == Answer::Kind::Http)
            isThrottling(answer) ? host.delay.throttled() : host.delay.succeeded();

        bool askedToWait = false;
        const auto wait = isThrottling(answer) ? retryAfterWait(retryAfter, QDateTime::currentDateTimeUtc()) : std::nullopt;
        if (wait && *wait > m_pacing.longestRetryAfter) {
            const auto seconds = std::chrono::ceil<std::chrono::seconds>(*wait).count();
            host.givenUp = key + u" asked for a pause of "_s + QString::number(seconds) + u" s (Retry-After)"_s;
            return answer;
        }
        if (wait) { // every request to the host waits, not only this one's retry
            host.notBefore = std::max(host.notBefore, Clock::now() + *wait);
            askedToWait = true;
        }
        if (!isRetried(answer) || attempt >= m_pacing.retries)
            return answer;
        if (!askedToWait)
            waitFor(backoffDelay(m_pacing, attempt, randomFraction()));
    }
}

Answer Fetcher::getOnce(const QUrl &url, BodyText text, Host &host, QByteArray &retryAfter)
{
    waitForHost(host);
    if (m_stop.isOn())
        return stoppedAnswer();

    ++m_requestsSent;
    // The stop switch is not connected here: the request in flight always finishes.
    const Net::ReplyPtr reply = Net::getPage(url, m_pacing.transferTimeout);
    host.lastEnd = Clock::now();

    // The page fetch's rule: an answer with a status is an answer, whatever the status.
    if (!reply->isFinished() || !Net::isCompleteHttpAnswer(*reply))
        return Answer{Answer::Kind::Transport, 0, {}, transportFailure(*reply)};

    retryAfter = reply->rawHeader("Retry-After"_ba);
    const QByteArray body = reply->readAll();
    return Answer{Answer::Kind::Http, reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                  text == BodyText::Utf8
                      ? QString::fromUtf8(body)
                      : Net::decodePage(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), body,
                                        m_pacing.fallbackCharset),
                  {}};
}

// Waits in an event loop, so signals (and the stop switch) are served meanwhile.
void Fetcher::waitFor(std::chrono::milliseconds duration) const
{
    if (duration.count() <= 0 || m_stop.isOn())
        return;
    QEventLoop loop;
    // A coarse timer may fire up to 5 % early, which a host's Retry-After does not allow.
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    QObject::connect(&m_stop, &StopSwitch::turnedOn, &loop, &QEventLoop::quit);
    loop.exec();
}

// The host's pause after its last answer, and whatever its Retry-After asked for.
void Fetcher::waitForHost(const Host &host) const
{
    auto due = host.notBefore;
    if (host.lastEnd)
        due = std::max(due, *host.lastEnd + host.delay.wait(randomFraction()));
    const auto now = Clock::now();
    if (due > now)
        waitFor(std::chrono::ceil<std::chrono::milliseconds>(due - now));
}

} // namespace Crawl
