#pragma once

#include <QString>

class QNetworkProxyFactory;
class QUrl;

namespace Net {

// A new factory that sends each request through the proxy the settings choose for its URL
// (networksettings.h), and only through it: a proxy that fails fails the request, which never
// goes around it. socks5h:// leaves resolving host names to the proxy, socks5:// resolves them here.
QNetworkProxyFactory *newProxyFactory();

// "socks5h://127.0.0.1:1080", the proxy a request to url goes through, to name it in a failure;
// "the system's proxy" when the system chooses; empty when the request goes straight.
QString proxyNameFor(const QUrl &url);

} // namespace Net
