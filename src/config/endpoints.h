#pragma once

#include "config/origin.h"
#include "config/proxychoice.h"
#include "config/siteprofile.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>

// The remote parties the program talks to and how. Compiled-in defaults point at the bundled
// demo site; each value can be given in the settings file, by an environment variable or by a
// command-line option (the option beats the variable, the variable the file, the file the
// default). Every front end reads them the same way; the settings are the rows of settings().
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
    QString proxySetting = QStringLiteral("env"); // "env", "system", "none" or a server's URL
    ProxyChoice proxy;    // what proxySetting and the proxy variables make of every request
    std::chrono::milliseconds crawlDelay{0}; // the crawl's pause between two requests to a site; crawl --delay beats it
    QString siteProfile;  // the site profile's file; empty: the built-in profile
    SiteProfile profile;  // how the share-search site's pages are read and its addresses built
    QString library;      // the resource library's file; empty: library.sqlite in the user's data folder
    bool keepLibrary = true; // false (--no-library): nothing is recorded or read

    static Endpoints defaults();
    // Every party on one site laid out as the bundled demo site is: base ends with "/".
    static Endpoints onDemoSite(const QString &base);
};

struct EndpointOptions
{
    Endpoints endpoints;
    QStringList remaining; // the arguments that are not endpoint options, in order
    QStringList given;     // the endpoint options among the arguments, as given
    QString error;         // one line naming the refused option or variable; empty when all is well
    QStringList warnings;  // one line each about the settings file, whose faults stop nothing
    // One line naming where the site profile was named, its file and the key that was refused
    // (endpoints.profile is then the built-in one): the command line stops at it, the window
    // warns and goes on.
    QString profileError;
    Provenance provenance; // the settings file and where each setting came from
};

// Takes the endpoint options out of arguments (without the program name), "--name VALUE" or
// "--name=VALUE", and merges them with the environment and the settings file over the
// defaults. A base URL without its closing slash gets it; an option or variable that its
// setting refuses (not an http(s) URL, a timeout that is not a whole number of seconds from 1 to
// 86400, ...) sets error, a refused value in the file a warning. "--login-ini PATH" names the
// login.ini file, "--config FILE" (VORLEN_CONFIG) the settings file, "--no-library" clears
// keepLibrary. "--demo-site URL" (VORLEN_DEMO_SITE) lays every party out on one site as onDemoSite() does, over the settings
// file; the single options and variables still override it. The site-profile setting's file is
// read into endpoints.profile (loadSiteProfile); a refused file sets profileError. The proxy
// setting and, in its default env mode, the proxy variables as curl reads them make
// endpoints.proxy; a proxy variable that cannot be read sets error.
EndpointOptions parseEndpointOptions(const QStringList &arguments, const QProcessEnvironment &environment);

// One line per option, for usage texts.
QString endpointOptionsHelp();

} // namespace Config
