#pragma once

#include "demo-site/forumlogin.h"
#include "net/networkaccess.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QUrl>

#include <algorithm>

// Whether the process's one cookie store holds the demo forum's login cookie for requests to
// forum.php of forum.
inline bool hasLoginCookie(const QString &forum)
{
    const auto cookies = Net::networkManager().cookieJar()->cookiesForUrl(QUrl(forum + QStringLiteral("forum.php")));
    return std::any_of(cookies.begin(), cookies.end(),
                       [](const QNetworkCookie &cookie) { return cookie.name() == DemoSite::kLoginCookie; });
}
