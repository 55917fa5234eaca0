#include "login/exchange.h"

#include "net/pagefetch.h"
#include "net/networkaccess.h"
#include "net/request.h"
#include "text/gbk.h"

#include <QNetworkReply>
#include <QPointer>
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

Exchange::~Exchange() = default;

void Exchange::cancel()
{
    ++m_run; // a probe still waiting returns into a run that is no longer the newest
    m_reply.reset();
}

void Exchange::start(const LoginForm &form)
{
    m_reply.reset();
    const quint64 run = ++m_run;
    // The probe waits in a nested event loop: this object may be gone when it returns, or a
    // newer login may have started meanwhile and taken over.
    const QPointer<Exchange> alive(this);
    const std::optional<QString> probe = Net::fetchPageText(m_probe, m_transferTimeout);
    if (!alive || run != m_run)
        return;
    if (!probe || probe->isEmpty()) {
        emit finished(LoginResult{});
        return;
    }

    const QNetworkRequest request = Net::request(
        QUrl(loginUrl(m_forum)),
        {.transferTimeout = m_transferTimeout,
         .headers = {{"Referer"_ba, m_forum.toUtf8()}, {"Content-Type"_ba, "application/x-www-form-urlencoded"_ba}},
         .carriesSecret = true}); // the password: a redirect may lead back into the forum's origin only

    emit statusChanged(loginStatus(form));
    if (!alive || run != m_run)
        return;
    m_reply.reset(Net::networkManager().post(request, loginBody(m_forum, form)));
    Net::limitAnswer(*m_reply, kLargestLoginAnswer);
    connect(m_reply.get(), &QNetworkReply::finished, this, &Exchange::readAnswer);
}

void Exchange::readAnswer()
{
    const Net::ReplyPtr reply = std::move(m_reply);
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
