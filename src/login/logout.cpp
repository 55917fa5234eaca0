#include "login/logout.h"

#include "net/networkaccess.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Login {

void endForumLogin(const QString &forumBaseUrl, std::chrono::milliseconds transferTimeout)
{
    QNetworkAccessManager &manager = Net::networkManager();
    const QUrl url(forumBaseUrl + u"member.php?mod=logging&action=logout"_s, QUrl::StrictMode);
    if (url.isValid() && !url.isRelative()) {
        QNetworkRequest request(url);
        request.setRawHeader("Referer", forumBaseUrl.toUtf8());
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
        // The request takes its cookies now, so the forum learns whose login ends. A cookie its
        // late answer might set must not bring the login back after the purge below.
        request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
        request.setTransferTimeout(static_cast<int>(transferTimeout.count()));
        QNetworkReply *reply = manager.get(request);
        QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    }
    // A fresh jar is the only way to reach every cookie of the old one; the manager deletes
    // the old jar, which it owns.
    manager.setCookieJar(new QNetworkCookieJar(&manager));
}

} // namespace Login
