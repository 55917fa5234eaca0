#include "net/proxyfactory.h"

#include "config/proxychoice.h"
#include "net/networksettings.h"

#include <QNetworkProxyFactory>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Net {

namespace {

QNetworkProxy networkProxy(const Config::ProxyServer &server)
{
    using Kind = Config::ProxyServer::Kind;
    QNetworkProxy proxy(server.kind == Kind::Http ? QNetworkProxy::HttpProxy : QNetworkProxy::Socks5Proxy, server.host,
                        server.port, server.user, server.password);
    if (server.kind == Kind::Socks5) // the proxy gets addresses, not names
        proxy.setCapabilities(proxy.capabilities() & ~QNetworkProxy::HostNameLookupCapability);
    return proxy;
}

class ChosenProxy : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        const Config::ProxyChoice &choice = proxyChoice();
        if (choice.mode == Config::ProxyChoice::Mode::System)
            return systemProxyForQuery(query);
        const std::optional<Config::ProxyServer> server = choice.serverFor(query.url());
        // One proxy and no other: Qt would try a second entry when the first fails.
        return {server ? networkProxy(*server) : QNetworkProxy(QNetworkProxy::NoProxy)};
    }
};

} // namespace

QNetworkProxyFactory *newProxyFactory()
{
    return new ChosenProxy;
}

QString proxyNameFor(const QUrl &url)
{
    const Config::ProxyChoice &choice = proxyChoice();
    if (choice.mode == Config::ProxyChoice::Mode::System)
        return u"the system's proxy"_s;
    const std::optional<Config::ProxyServer> server = choice.serverFor(url);
    return server ? server->name() : QString();
}

} // namespace Net
