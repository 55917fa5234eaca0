#pragma once

#include "config/proxychoice.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>

// The remote parties the program talks to and how it talks to them. Compiled-in defaults point
// at the bundled demo site; each can be replaced by a command-line option or an environment
// variable (an option beats the variable, the variable beats the default). Every front end reads
// them the same way.
namespace Config {

// What every request calls itself unless told otherwise: a current desktop browser, since sites
// answer a browser as they answer their visitors.
inline constexpr char kDefaultUserAgent[] =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/124.0.0.0 Safari/537.36";

struct Endpoints
{
    QString shareSite;    // listing, search and detail pages
    QString sharePrefix;  // the prefix of every share link
    QString forum;        // login, logout, registration, avatars
    QString updateServer; // serves /version/main.txt
    QString probe;        // connectivity probe
    std::chrono::milliseconds timeout{std::chrono::seconds(30)}; // transfer timeout of one page fetch
    QString loginIni;     // the remembered account's file; empty: the usual place
    QString userAgent = QLatin1StringView(kDefaultUserAgent); // of every request
    ProxyChoice proxy = {}; // of every request; straight to the host unless the options say otherwise

    static Endpoints defaults();
    // Every party on one site laid out as the bundled demo site is: base ends with "/".
    static Endpoints onDemoSite(const QString &base);
};

struct EndpointOptions
{
    Endpoints endpoints;
    QStringList remaining; // the arguments that are not endpoint options, in order
    QString error;         // one line naming the refused option or variable; empty when all is well
};

// Takes the endpoint options out of arguments (without the program name), "--name VALUE" or
// "--name=VALUE", and merges them with the environment over the defaults. A base URL without
// its closing slash gets it; a value that is not an http(s) URL, or a timeout that is not a
// whole number of seconds from 1 to 86400, or a user agent that is not one line of printable
// ASCII, or a proxy that cannot be read (--proxy, VORLEN_PROXY or, in the default env mode, one
// of the proxy variables) sets error. "--login-ini PATH" names the login.ini file.
// "--demo-site URL" (VORLEN_DEMO_SITE) lays every party out on one site as onDemoSite() does;
// the single options still override it.
EndpointOptions parseEndpointOptions(const QStringList &arguments, const QProcessEnvironment &environment);

// One line per option, for usage texts.
QString endpointOptionsHelp();

} // namespace Config
