#include "net/request.h"

#include "net/networksettings.h"

#include <QUrl>

namespace Net {

QNetworkRequest request(const QUrl &url, const RequestOptions &options)
{
    QNetworkRequest built(url);
    built.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    built.setTransferTimeout(static_cast<int>(options.transferTimeout.count()));
    built.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    for (const auto &[name, value] : options.headers)
        built.setRawHeader(name, value);
    if (options.carriesSecret)
        built.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    if (options.dropsAnswerCookies)
        built.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    return built;
}

} // namespace Net
