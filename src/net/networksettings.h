#pragma once

#include "config/proxychoice.h"

#include <QByteArray>

namespace Config {
struct Endpoints;
}

// How every request of the process goes out. The front end applies its options once, before
// the first request; until then the compiled-in defaults hold.
namespace Net {

void applySettings(const Config::Endpoints &endpoints);

// The User-Agent header of every request.
const QByteArray &userAgent();

// Which proxy each request goes through (proxyfactory.h); straight to the host by default.
const Config::ProxyChoice &proxyChoice();

} // namespace Net
