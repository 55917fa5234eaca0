#include "net/getbody.h"

#include "net/networkaccess.h"
#include "net/pagedecoding.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <memory>

namespace Net {

namespace {

bool applicationIsGone()
{
    return QCoreApplication::closingDown() || !QCoreApplication::instance();
}

} // namespace

std::optional<QString> GetBody(const QString &url, std::chrono::milliseconds transferTimeout)
{
    const QUrl target(url, QUrl::StrictMode);
    if (!target.isValid() || target.isRelative() || applicationIsGone())
        return std::nullopt;

    QNetworkRequest request(target);
    request.setRawHeader(QByteArrayLiteral("If-Modified-Since"), QByteArrayLiteral("0"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(static_cast<int>(transferTimeout.count()));

    const ReplyPtr reply(networkManager().get(request));

    // The nested loop keeps the window alive while we wait. QCoreApplication::exit() ends every
    // running loop of the thread and makes later ones return at once, so a closed window never
    // leaves us waiting here.
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    if (!reply->isFinished() || !isCompleteHttpAnswer(*reply))
        return std::nullopt;

    const QByteArray body = reply->readAll();
    return decodePage(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), body);
}

} // namespace Net
