#include "net/networkaccess.h"

#include "net/proxyfactory.h"
#include "net/request.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Net {

namespace {

// Marks a reply that limitAnswer() aborted.
constexpr char kPassedLimit[] = "vorlenPassedLimit";

} // namespace

QNetworkAccessManager &networkManager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager) {
        Q_ASSERT(QCoreApplication::instance());
        manager = new QNetworkAccessManager(QCoreApplication::instance());
        // Every page is asked for fresh; the redirect policy a browser would follow.
        manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        manager->setProxyFactory(newProxyFactory());
    }
    return *manager;
}

void ReplyDeleter::operator()(QNetworkReply *reply) const
{
    reply->disconnect();
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

bool isCompleteHttpAnswer(const QNetworkReply &reply)
{
    if (!reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    const QNetworkReply::NetworkError error = reply.error();
    const bool transferBroke = (error > QNetworkReply::NoError && error <= QNetworkReply::UnknownNetworkError)
        || error == QNetworkReply::ProtocolFailure;
    return !transferBroke;
}

void limitAnswer(QNetworkReply &reply, qint64 limit)
{
    const auto check = [&reply, limit](qint64 bytes) {
        if (bytes <= limit || !reply.isRunning())
            return;
        reply.setProperty(kPassedLimit, true);
        reply.abort();
    };
    // The network thread stops reading once about twice the limit waits here (Qt stops a little
    // short of the size it is given), so what is queued between the threads stays bounded until
    // the abort arrives; without it, Qt holds back readyRead while chunks keep coming. Qt hands
    // the size on only to a request already started in that thread: a GET starts at once, a POST
    // on the next turn of the event loop, ahead of this queued call.
    const auto bound = [&reply, limit] { reply.setReadBufferSize(2 * limit); };
    bound();
    QMetaObject::invokeMethod(&reply, bound, Qt::QueuedConnection);
    QObject::connect(&reply, &QNetworkReply::readyRead, &reply, [&reply, check] { check(reply.bytesAvailable()); });
    QObject::connect(&reply, &QNetworkReply::downloadProgress, &reply,
                     [check](qint64 received, qint64 total) { check(std::max(received, total)); }); // announced
}

bool passedLimit(const QNetworkReply &reply)
{
    return reply.property(kPassedLimit).toBool();
}

ReplyPtr startPage(const QUrl &url, std::chrono::milliseconds transferTimeout)
{
    ReplyPtr reply(networkManager().get(request(url, {.transferTimeout = transferTimeout,
                                                      .headers = {{"If-Modified-Since"_ba, "0"_ba}}})));
    limitAnswer(*reply, kLargestPage);
    return reply;
}

ReplyPtr getPage(const QUrl &url, std::chrono::milliseconds transferTimeout)
{
    ReplyPtr reply = startPage(url, transferTimeout);
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return reply;
}

} // namespace Net
