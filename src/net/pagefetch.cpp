#include "net/pagefetch.h"

#include "net/networkaccess.h"
#include "net/pagedecoding.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QUrl>

namespace Net {

namespace {

bool applicationIsGone()
{
    return QCoreApplication::closingDown() || !QCoreApplication::instance();
}

} // namespace

std::optional<QString> fetchPageText(const QString &url, std::chrono::milliseconds transferTimeout, QByteArrayView fallbackCharset)
{
    const QUrl target(url, QUrl::StrictMode);
    if (!target.isValid() || target.isRelative() || applicationIsGone())
        return std::nullopt;

    const ReplyPtr reply = getPage(target, transferTimeout);
    if (!reply->isFinished() || !isCompleteHttpAnswer(*reply))
        return std::nullopt;

    const QByteArray body = reply->readAll();
    return decodePage(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), body, fallbackCharset);
}

} // namespace Net
