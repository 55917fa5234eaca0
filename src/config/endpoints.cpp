#include "config/endpoints.h"

#include "config/settingkeys.h"
#include "config/settingsfile.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace Config {

namespace {

constexpr char kDemoSite[] = "http://127.0.0.1:8360/";

// The options that say where things are rather than how the program talks to the parties.
struct PlaceOption
{
    const char *option; // without the leading "--"
    const char *variable;
    const char *placeholder;
    const char *help;
};

constexpr PlaceOption kDemoSiteOption{"demo-site", "VORLEN_DEMO_SITE", "URL",
                                      "every party on one site laid out as the bundled demo site is"};
constexpr PlaceOption kLoginIniOption{"login-ini", "VORLEN_LOGIN_INI", "PATH", "the file of the remembered account"};
constexpr PlaceOption kConfigOption{"config", "VORLEN_CONFIG", "FILE",
                                    "the settings file instead of vorlen360.ini in the user's configuration folder"};
constexpr std::array kPlaceOptions{kDemoSiteOption, kLoginIniOption, kConfigOption};
// A flag, unlike the options: the run keeps nothing in the library.
constexpr char kNoLibraryFlag[] = "--no-library";

QString optionName(const char *name)
{
    return u"--"_s + QLatin1StringView(name);
}

// The endpoint options among arguments by name without the dashes (a repeated one: the last
// counts) and the other arguments in order; everything from "--" on belongs to the command.
struct TakenOptions
{
    QHash<QString, QString> values;
    QStringList remaining;
    QStringList taken; // the endpoint options as given, for a command line that repeats them
    QString error;
    bool noLibrary = false;
};

TakenOptions takeOptions(const QStringList &arguments)
{
    QStringList names;
    for (const Setting &setting : settings())
        names += QLatin1StringView(setting.key);
    for (const PlaceOption &option : kPlaceOptions)
        names += QLatin1StringView(option.option);

    TakenOptions taken;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--") {
            taken.remaining += arguments.mid(i);
            break;
        }
        if (argument == QLatin1StringView(kNoLibraryFlag)) {
            taken.noLibrary = true;
            taken.taken.append(argument);
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.startsWith(u"--") ? argument.mid(2, equals < 0 ? -1 : equals - 2) : QString();
        if (!names.contains(name)) {
            taken.remaining.append(argument);
        } else if (equals >= 0) {
            taken.values.insert(name, argument.mid(equals + 1));
            taken.taken.append(argument);
        } else if (i + 1 < arguments.size()) {
            taken.values.insert(name, arguments.at(++i));
            taken.taken += {argument, arguments.at(i)};
        } else {
            taken.error = u"--"_s + name + u": missing value"_s;
        }
    }
    return taken;
}

// A value given by its option or, without that, its variable, and which of them gave it.
struct Given
{
    QString value;
    Origin origin;
};

std::optional<Given> given(const TakenOptions &taken, const QProcessEnvironment &environment, const char *option,
                           const char *variable)
{
    if (const auto it = taken.values.constFind(QLatin1StringView(option)); it != taken.values.cend())
        return Given{*it, {Source::Option, optionName(option)}};
    const QString name = QLatin1StringView(variable);
    if (environment.contains(name))
        return Given{environment.value(name), {Source::Environment, name}};
    return std::nullopt;
}

QString refusalLine(const Given &given, const QString &refusal)
{
    return given.origin.name + u": "_s + refusal + u": "_s + shownSettingText(given.value);
}

// Where the setting that fills field came from.
const Origin &originOf(const EndpointOptions &result, QString Endpoints::*field)
{
    const auto rows = settings();
    const auto row = std::find_if(rows.begin(), rows.end(), [field](const Setting &setting) { return setting.text == field; });
    return result.provenance.origins[std::size_t(row - rows.begin())];
}

// Reads the profile file the site-profile setting names; a refused one leaves the built-in
// profile and says why, after where the file was named.
void loadProfile(EndpointOptions &result)
{
    if (result.endpoints.siteProfile.isEmpty())
        return;
    LoadedSiteProfile loaded = loadSiteProfile(result.endpoints.siteProfile);
    result.endpoints.profile = std::move(loaded.profile);
    if (!loaded.error.isEmpty()) {
        result.profileError = originOf(result, &Endpoints::siteProfile).name + u": "_s + loaded.error;
        return;
    }
    // The profile's user agent stands in for the built-in one, under any the user gave.
    const QString &agent = result.endpoints.profile.userAgent;
    if (!agent.isEmpty() && originOf(result, &Endpoints::userAgent).source == Source::Default)
        result.endpoints.userAgent = agent;
}

} // namespace

Endpoints Endpoints::defaults()
{
    return onDemoSite(QLatin1String(kDemoSite));
}

Endpoints Endpoints::onDemoSite(const QString &site)
{
    Endpoints e;
    e.shareSite = site;
    e.sharePrefix = site + QStringLiteral("yunpan/");
    e.forum = site + QStringLiteral("forum/");
    e.updateServer = site;
    e.probe = site + QStringLiteral("probe/");
    return e;
}

EndpointOptions parseEndpointOptions(const QStringList &arguments, const QProcessEnvironment &environment)
{
    EndpointOptions result{Endpoints::defaults(), {}, {}, {}, {}, {}, {}};
    Endpoints &endpoints = result.endpoints;
    std::vector<Origin> &origins = result.provenance.origins;
    const TakenOptions taken = takeOptions(arguments);
    result.remaining = taken.remaining;
    result.given = taken.taken;
    result.error = taken.error;
    if (!result.error.isEmpty())
        return result;

    const std::optional<Given> config = given(taken, environment, kConfigOption.option, kConfigOption.variable);
    if (config && config->value.isEmpty()) {
        result.error = config->origin.name + u": empty path"_s;
        return result;
    }
    result.provenance.file = config ? config->value : defaultSettingsPath();
    const SettingsFile file = readSettingsFile(result.provenance.file);
    result.warnings = file.warnings;
    applySettingsFile(endpoints, origins, file);

    // The demo site's layout stands over the file and under every single option and variable.
    if (const auto demo = given(taken, environment, kDemoSiteOption.option, kDemoSiteOption.variable)) {
        const Checked site = checkBaseUrl(demo->value);
        if (!site.refusal.isEmpty()) {
            result.error = refusalLine(*demo, site.refusal);
            return result;
        }
        // The settings the layout fills are those it sets apart from an empty Endpoints.
        const Endpoints layout = Endpoints::onDemoSite(site.value);
        for (std::size_t i = 0; i < settings().size(); ++i) {
            const QString value = settingText(settings()[i], layout);
            if (value != settingText(settings()[i], Endpoints{})) {
                storeSetting(settings()[i], endpoints, value);
                origins[i] = demo->origin;
            }
        }
    }

    for (std::size_t i = 0; i < settings().size(); ++i) {
        const Setting &setting = settings()[i];
        const std::optional<Given> value = given(taken, environment, setting.key, setting.variable);
        if (!value)
            continue;
        const Checked checked = setting.check(value->value);
        if (!checked.refusal.isEmpty()) {
            result.error = refusalLine(*value, checked.refusal);
            return result;
        }
        storeSetting(setting, endpoints, checked.value);
        origins[i] = value->origin;
    }

    if (const auto loginIni = given(taken, environment, kLoginIniOption.option, kLoginIniOption.variable))
        endpoints.loginIni = loginIni->value;
    endpoints.keepLibrary = !taken.noLibrary;
    loadProfile(result);
    // The setting was checked; the variables its env mode reads are read here.
    if (result.error.isEmpty())
        result.error = resolveProxy(endpoints.proxySetting, environment, endpoints.proxy);
    return result;
}

QString endpointOptionsHelp()
{
    QString help;
    auto line = [&help](const char *option, const char *placeholder, const char *variable, const char *text) {
        help += u"  "_s + optionName(option) + u' ' + QLatin1StringView(placeholder) + u"  ("_s + QLatin1StringView(variable)
            + u") "_s + QLatin1StringView(text) + u'\n';
    };
    for (const Setting &setting : settings())
        line(setting.key, setting.placeholder, setting.variable, setting.help);
    for (const PlaceOption &option : kPlaceOptions)
        line(option.option, option.placeholder, option.variable, option.help);
    help += u"  "_s + QLatin1StringView(kNoLibraryFlag) + u"  keep nothing of this run in the library\n"_s;
    return help;
}

} // namespace Config
