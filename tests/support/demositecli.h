#pragma once

#include "demo-site/server.h"
#include "net/networkaccess.h"
#include "support/clirun.h"

#include <QNetworkAccessManager>

// The endpoint options that put every party of the command-line tool on a demo site, with a
// short timeout.
inline QStringList demoSiteArguments(const DemoSite::Server &site)
{
    return {QStringLiteral("--demo-site"), QString::fromStdString(site.baseUrl()), QStringLiteral("--timeout"),
            QStringLiteral("10")};
}

// The command-line tool in process against a demo site.
inline CliOutcome runCliOn(const DemoSite::Server &site, const QStringList &arguments,
                           const QProcessEnvironment &environment = {})
{
    const CliOutcome outcome = runCli(demoSiteArguments(site) + arguments, environment);
    // The site's stop would wait out the connections the tool keeps alive.
    Net::networkManager().clearConnectionCache();
    return outcome;
}
