#include "net/networkaccess.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace Net {

QNetworkAccessManager &networkManager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager) {
        Q_ASSERT(QCoreApplication::instance());
        manager = new QNetworkAccessManager(QCoreApplication::instance());
        // Every page is asked for fresh; the redirect policy a browser would follow.
        manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
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

ReplyPtr getPage(const QUrl &url, std::chrono::milliseconds transferTimeout)
{
    QNetworkRequest request(url);
    request.setRawHeader(QByteArrayLiteral("If-Modified-Since"), QByteArrayLiteral("0"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(static_cast<int>(transferTimeout.count()));
    ReplyPtr reply(networkManager().get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return reply;
}

} // namespace Net
