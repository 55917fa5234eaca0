#include "login/logout.h"

#include "net/networkaccess.h"
#include "net/request.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Login {

void endForumLogin(const QString &forumBaseUrl, std::chrono::milliseconds transferTimeout)
{
    QNetworkAccessManager &manager = Net::networkManager();
    const QUrl url(forumBaseUrl + u"member.php?mod=logging&action=logout"_s, QUrl::StrictMode);
    if (url.isValid() && !url.isRelative()) {
        // The request takes its cookies now, so the forum learns whose login ends. A cookie its
        // late answer might set must not bring the login back after the purge below.
        QNetworkReply *reply = manager.get(Net::request(
            url, {.transferTimeout = transferTimeout,
                  .headers = {{"Referer"_ba, forumBaseUrl.toUtf8()},
                              {"Content-Type"_ba, "application/x-www-form-urlencoded"_ba}},
                  .dropsAnswerCookies = true}));
        // Nobody waits for the answer: the reply goes when it has finished.
        QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    }
    // A fresh jar is the only way to reach every cookie of the old one; the manager deletes
    // the old jar, which it owns.
    manager.setCookieJar(new QNetworkCookieJar(&manager));
}

} // namespace Login
