#include "net/networksettings.h"

#include "config/endpoints.h"

namespace Net {

namespace {

struct Settings
{
    QByteArray userAgent = Config::kDefaultUserAgent;
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
}

const QByteArray &userAgent()
{
    return settings().userAgent;
}

} // namespace Net
