#include "net/networkaccess.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace Net {

namespace {
std::chrono::milliseconds g_transferTimeout{std::chrono::seconds(30)};
}

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

bool isTransportFailure(QNetworkReply::NetworkError error)
{
    const bool httpStatus = (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    return error != QNetworkReply::NoError && !httpStatus;
}

void setTransferTimeout(std::chrono::milliseconds timeout)
{
    g_transferTimeout = timeout;
}

std::chrono::milliseconds transferTimeout()
{
    return g_transferTimeout;
}

} // namespace Net
