#pragma once

class QNetworkAccessManager;

// The process's one network manager: one cookie store for every request and reused
// connections. Created on first use and owned by the application object, so it needs a
// QCoreApplication and goes away with it.
namespace Net {

QNetworkAccessManager &networkManager();

} // namespace Net
