#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkRequest>

#include <chrono>
#include <utility>

class QUrl;

namespace Net {

// What differs between the requests of the process.
struct RequestOptions
{
    std::chrono::milliseconds transferTimeout;        // a server silent this long fails the request
    QList<std::pair<QByteArray, QByteArray>> headers = {}; // added as they are
    // It carries a secret (a password): a redirect may lead back into its own origin only.
    bool carriesSecret = false;
    // Cookies its answer sets are not stored; it still sends the store's cookies.
    bool dropsAnswerCookies = false;
};

// Builds every request of the process, so what they all share is decided here: the user agent
// of the settings (networksettings.h), asked for fresh from the network, the transfer timeout,
// the options' headers.
QNetworkRequest request(const QUrl &url, const RequestOptions &options);

} // namespace Net
