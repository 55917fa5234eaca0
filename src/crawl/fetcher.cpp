#include "crawl/fetcher.h"

#include "net/networkaccess.h"
#include "net/pagedecoding.h"
#include "net/proxyfactory.h"

#include <QCoreApplication>
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

bool isRetried(const Answer &answer)
{
    return answer.kind == Answer::Kind::Transport || (answer.kind == Answer::Kind::Http && answer.status >= 500);
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

QString hostKey(const QUrl &url)
{
    return url.host() + u':' + QString::number(url.port(url.scheme() == u"https" ? 443 : 80));
}

} // namespace

QString Answer::describe() const
{
    switch (kind) {
    case Kind::Http: return u"HTTP "_s + QString::number(status);
    case Kind::Transport: return failure;
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

Fetcher::Fetcher(Pacing pacing, const StopSwitch &stop) : m_pacing(pacing), m_stop(stop) {}

Answer Fetcher::get(const QString &url)
{
    Answer answer;
    for (int attempt = 0;; ++attempt) {
        if (m_stop.isOn())
            return stoppedAnswer();
        answer = getOnce(url);
        if (!isRetried(answer) || attempt >= m_pacing.retries)
            return answer;
        waitFor(backoffDelay(m_pacing, attempt, QRandomGenerator::global()->generateDouble()));
    }
}

Answer Fetcher::getOnce(const QString &url)
{
    const QUrl target(url);
    if (!target.isValid() || target.isRelative() || QCoreApplication::closingDown())
        return Answer{Answer::Kind::Transport, 0, {}, u"bad URL "_s + url};
    const QString host = hostKey(target);
    waitForHost(host);
    if (m_stop.isOn())
        return stoppedAnswer();

    ++m_requestsSent;
    // The stop switch is not connected here: the request in flight always finishes.
    const Net::ReplyPtr reply = Net::getPage(target, m_pacing.transferTimeout);
    m_lastEnd.insert(host, std::chrono::steady_clock::now());

    // The page fetch's rule: an answer with a status is an answer, whatever the status.
    if (!reply->isFinished() || !Net::isCompleteHttpAnswer(*reply))
        return Answer{Answer::Kind::Transport, 0, {}, transportFailure(*reply)};

    const QByteArray body = reply->readAll();
    return Answer{Answer::Kind::Http,
                  reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                  Net::decodePage(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), body,
                                  m_pacing.fallbackCharset),
                  {}};
}

// Waits in an event loop, so signals (and the stop switch) are served meanwhile.
void Fetcher::waitFor(std::chrono::milliseconds duration) const
{
    if (duration.count() <= 0 || m_stop.isOn())
        return;
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    QObject::connect(&m_stop, &StopSwitch::turnedOn, &loop, &QEventLoop::quit);
    loop.exec();
}

void Fetcher::waitForHost(const QString &host) const
{
    if (m_pacing.delay.count() <= 0)
        return;
    const auto last = m_lastEnd.constFind(host);
    if (last == m_lastEnd.cend())
        return;
    const auto due = *last + m_pacing.delay;
    const auto now = std::chrono::steady_clock::now();
    if (due > now)
        waitFor(std::chrono::ceil<std::chrono::milliseconds>(due - now));
}

} // namespace Crawl
