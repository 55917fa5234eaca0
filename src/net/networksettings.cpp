#include "net/networksettings.h"

#include "config/endpoints.h"

namespace Net {

namespace {

struct Settings
{
    QByteArray userAgent = Config::kDefaultUserAgent;
    Config::ProxyChoice proxy;
};

Settings &settings()
{
    static Settings current;
    return current;
}

} // namespace

void applySettings(const Config::Endpoints &endpoints)
{
    settings().userAgent = endpoints.userAgent.toLatin1();
    settings().proxy = endpoints.proxy;
}

const QByteArray &userAgent()
{
    return settings().userAgent;
}

const Config::ProxyChoice &proxyChoice()
{
    return settings().proxy;
}

} // namespace Net
