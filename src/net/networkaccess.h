#pragma once

#include <QNetworkReply>

#include <chrono>

class QNetworkAccessManager;

// The process's one network manager: one cookie store for every request and reused
// connections. Created on first use and owned by the application object, so it needs a
// QCoreApplication and goes away with it.
namespace Net {

QNetworkAccessManager &networkManager();

// HTTP status errors (4xx, 5xx) still carry the page we want; only transport and protocol
// failures (refused, timed out, aborted, malformed answer) count as a failed transfer.
bool isTransportFailure(QNetworkReply::NetworkError error);

// The transfer timeout of every page fetch; a server that stays silent longer fails the fetch.
void setTransferTimeout(std::chrono::milliseconds timeout);
std::chrono::milliseconds transferTimeout();

} // namespace Net
