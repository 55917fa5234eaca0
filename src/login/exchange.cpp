#include "login/exchange.h"

#include "net/getbody.h"
#include "net/networkaccess.h"
#include "text/gbk.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Login {

namespace {

// No login answer comes near it; the transfer stops there.
constexpr qint64 kLargestLoginAnswer = 1 << 20;

// The forum answered, but with nothing this program takes: more than any login answer holds, or
// a redirect to another origin, where the password may not follow.
bool isRefusedAnswer(const QNetworkReply &reply)
{
    return Net::passedLimit(reply) || reply.error() == QNetworkReply::InsecureRedirectError;
}

} // namespace

Exchange::Exchange(const Config::Endpoints &endpoints, QObject *parent)
    : QObject(parent)
    , m_forum(endpoints.forum)
    , m_probe(endpoints.probe)
    , m_transferTimeout(endpoints.timeout)
{
}

Exchange::~Exchange()
{
    abandon();
}

void Exchange::abandon()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void Exchange::cancel()
{
    ++m_run; // a probe still waiting returns into a run that is no longer the newest
    abandon();
}

void Exchange::start(const LoginForm &form)
{
    abandon();
    const quint64 run = ++m_run;
    // The probe waits in a nested event loop: this object may be gone when it returns, or a
    // newer login may have started meanwhile and taken over.
    const QPointer<Exchange> alive(this);
    const std::optional<QString> probe = Net::GetBody(m_probe, m_transferTimeout);
    if (!alive || run != m_run)
        return;
    if (!probe || probe->isEmpty()) {
        emit finished(LoginResult{});
        return;
    }

    QNetworkRequest request(QUrl(loginUrl(m_forum)));
    request.setRawHeader("Referer"_ba, m_forum.toUtf8());
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded"_ba);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(static_cast<int>(m_transferTimeout.count()));
    // It carries the password: a redirect may lead back into the forum's own origin only.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);

    emit statusChanged(loginStatus(form));
    if (!alive || run != m_run)
        return;
    m_reply = Net::networkManager().post(request, loginBody(m_forum, form));
    Net::limitAnswer(*m_reply, kLargestLoginAnswer);
    connect(m_reply, &QNetworkReply::finished, this, &Exchange::readAnswer);
}

void Exchange::readAnswer()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    if (isRefusedAnswer(*reply)) {
        LoginResult refused;
        refused.outcome = LoginOutcome::ForumFailure;
        emit finished(refused);
        return;
    }
    // A request that fails or times out is treated like a failed probe, so the user can retry.
    if (!Net::isCompleteHttpAnswer(*reply)) {
        emit finished(LoginResult{});
        return;
    }
    emit finished(classifyAnswer(Text::fromGbk(reply->readAll())));
}

} // namespace Login
