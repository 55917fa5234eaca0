#pragma once

#include <chrono>

class QNetworkAccessManager;

// The process's one network manager: one cookie store for every request and reused
// connections. Created on first use and owned by the application object, so it needs a
// QCoreApplication and goes away with it.
namespace Net {

QNetworkAccessManager &networkManager();

// The transfer timeout of every page fetch; a server that stays silent longer fails the fetch.
void setTransferTimeout(std::chrono::milliseconds timeout);
std::chrono::milliseconds transferTimeout();

} // namespace Net
