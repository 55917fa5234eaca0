#include "config/endpoints.h"

#include "text/wholenumber.h"

#include <QUrl>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace Config {

namespace {

constexpr char kDemoSite[] = "http://127.0.0.1:8360/";

struct UrlOption
{
    const char *option;   // without the leading "--"
    const char *variable; // environment variable
    QString Endpoints::*field;
    bool isBase; // a base gets its closing slash
    const char *help;
};

const std::array<UrlOption, 5> kUrlOptions{{
    {"share-site", "VORLEN_SHARE_SITE", &Endpoints::shareSite, true, "share-search site"},
    {"share-prefix", "VORLEN_SHARE_PREFIX", &Endpoints::sharePrefix, true, "prefix of share links"},
    {"forum", "VORLEN_FORUM", &Endpoints::forum, true, "forum base address"},
    {"update-server", "VORLEN_UPDATE_SERVER", &Endpoints::updateServer, true, "software server of the version file"},
    {"probe", "VORLEN_PROBE", &Endpoints::probe, false, "connectivity probe page"},
}};

constexpr char kDemoSiteOption[] = "demo-site";
constexpr char kDemoSiteVariable[] = "VORLEN_DEMO_SITE";

bool isHttpUrl(const QString &value)
{
    const QUrl url(value, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

// Checks one URL value and normalises a base; returns an error line or the empty text.
QString acceptUrl(const UrlOption &option, QString value, const QString &source, Endpoints &endpoints)
{
    value = value.trimmed();
    if (!isHttpUrl(value))
        return source + QStringLiteral(": not an http or https URL: ") + value;
    if (option.isBase && !value.endsWith(u'/'))
        value += u'/';
    endpoints.*option.field = value;
    return {};
}

// Whole seconds up to a day: plain digits, so no sign, fraction or overflowing count gets in.
QString acceptTimeout(const QString &value, const QString &source, Endpoints &endpoints)
{
    constexpr int kLongest = 24 * 60 * 60;
    const std::optional<qint64> seconds = Text::wholeNumber(value.trimmed(), 5, 1, kLongest);
    if (!seconds)
        return source + u": not a whole number of seconds from 1 to "_s + QString::number(kLongest) + u": "_s + value;
    endpoints.timeout = std::chrono::seconds(*seconds);
    return {};
}

QString acceptLoginIni(const QString &value, const QString &, Endpoints &endpoints)
{
    endpoints.loginIni = value;
    return {};
}

// It goes into a header line: printable ASCII only, so no line break can add a header.
QString acceptUserAgent(const QString &value, const QString &source, Endpoints &endpoints)
{
    const QString text = value.trimmed();
    const bool printable = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u' ' && c <= u'~'; });
    if (text.isEmpty() || !printable)
        return source + u": not a line of printable ASCII characters"_s;
    endpoints.userAgent = text;
    return {};
}

QString acceptProxy(const QString &value, const QString &source, Endpoints &endpoints)
{
    return acceptProxySetting(value, source, endpoints.proxy);
}

// The options that are not a URL: name, variable, what takes the value (an error line or the
// empty text) and the help line.
struct ValueOption
{
    const char *option;
    const char *variable;
    QString (*accept)(const QString &value, const QString &source, Endpoints &endpoints);
    const char *synopsis;
    const char *help;
};

const std::array<ValueOption, 4> kValueOptions{{
    {"timeout", "VORLEN_TIMEOUT", acceptTimeout, "SECONDS", "transfer timeout of one page fetch, 1..86400, default 30"},
    {"login-ini", "VORLEN_LOGIN_INI", acceptLoginIni, "PATH", "the file of the remembered account"},
    {"user-agent", "VORLEN_USER_AGENT", acceptUserAgent, "TEXT", "the User-Agent of every request, default a desktop browser's"},
    {"proxy", "VORLEN_PROXY", acceptProxy, "URL|env|system|none",
     "proxy of every request: http://, socks5:// or socks5h://[USER:PASS@]HOST[:PORT];\n"
     "    env (default): http_proxy, https_proxy, all_proxy and no_proxy as curl reads them"},
}};

QString optionName(const char *name)
{
    return QStringLiteral("--") + QLatin1String(name);
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
    EndpointOptions result{Endpoints::defaults(), {}, {}};
    Endpoints &endpoints = result.endpoints;

    // The demo site's layout replaces the defaults before any single option or variable counts.
    const QString demoFlag = optionName(kDemoSiteOption);
    QString demoSite = environment.value(QLatin1String(kDemoSiteVariable));
    QString demoSource = QLatin1String(kDemoSiteVariable);
    for (qsizetype i = 0; i < arguments.size() && arguments.at(i) != u"--"; ++i) {
        if (arguments.at(i) == demoFlag && i + 1 < arguments.size())
            demoSite = arguments.at(i + 1), demoSource = demoFlag;
        else if (arguments.at(i).startsWith(demoFlag + u'='))
            demoSite = arguments.at(i).mid(demoFlag.size() + 1), demoSource = demoFlag;
    }
    if (!demoSite.isEmpty()) {
        const UrlOption base{kDemoSiteOption, kDemoSiteVariable, &Endpoints::shareSite, true, ""};
        result.error = acceptUrl(base, demoSite, demoSource, endpoints);
        if (!result.error.isEmpty())
            return result;
        endpoints = Endpoints::onDemoSite(endpoints.shareSite);
    }

    for (const UrlOption &option : kUrlOptions) {
        const QString variable = QLatin1String(option.variable);
        if (environment.contains(variable)) {
            result.error = acceptUrl(option, environment.value(variable), variable, endpoints);
            if (!result.error.isEmpty())
                return result;
        }
    }
    for (const ValueOption &option : kValueOptions) {
        const QString variable = QLatin1String(option.variable);
        if (environment.contains(variable)) {
            result.error = option.accept(environment.value(variable), variable, endpoints);
            if (!result.error.isEmpty())
                return result;
        }
    }

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--") { // the rest belongs to the command, whatever it looks like
            result.remaining += arguments.mid(i);
            break;
        }
        // "--name=value" or "--name value"; anything else passes through.
        auto matches = [&](const char *name, QString &value) {
            const QString flag = optionName(name);
            if (argument == flag) {
                if (i + 1 >= arguments.size()) {
                    result.error = flag + QStringLiteral(": missing value");
                    return true;
                }
                value = arguments.at(++i);
                return true;
            }
            if (argument.startsWith(flag + u'=')) {
                value = argument.mid(flag.size() + 1);
                return true;
            }
            return false;
        };

        QString value;
        bool taken = false;
        for (const UrlOption &option : kUrlOptions) {
            if (matches(option.option, value)) {
                if (result.error.isEmpty())
                    result.error = acceptUrl(option, value, optionName(option.option), endpoints);
                taken = true;
                break;
            }
        }
        for (const ValueOption &option : kValueOptions) {
            if (!taken && matches(option.option, value)) {
                if (result.error.isEmpty())
                    result.error = option.accept(value, optionName(option.option), endpoints);
                taken = true;
            }
        }
        if (!taken && matches(kDemoSiteOption, value))
            taken = true; // applied above
        if (!result.error.isEmpty())
            return result;
        if (!taken)
            result.remaining.append(argument);
    }
    result.error = readProxyEnvironment(environment, endpoints.proxy);
    return result;
}

QString endpointOptionsHelp()
{
    QString help;
    for (const UrlOption &option : kUrlOptions) {
        help += QStringLiteral("  ") + optionName(option.option) + QStringLiteral(" URL  (") + QLatin1String(option.variable)
            + QStringLiteral(") ") + QLatin1String(option.help) + u'\n';
    }
    help += u"  --demo-site URL  ("_s + QLatin1StringView(kDemoSiteVariable)
        + u") every party on one site laid out as the bundled demo site is\n"_s;
    for (const ValueOption &option : kValueOptions) {
        help += u"  "_s + optionName(option.option) + u' ' + QLatin1StringView(option.synopsis) + u"  ("_s
            + QLatin1StringView(option.variable) + u") "_s + QLatin1StringView(option.help) + u'\n';
    }
    return help;
}

} // namespace Config
