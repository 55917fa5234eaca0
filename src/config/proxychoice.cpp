#include "config/proxychoice.h"

#include "text/wholenumber.h"

#include <QUrl>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace Config {

namespace {

constexpr quint16 kDefaultProxyPort = 1080; // curl's, whatever the kind

constexpr std::array<std::pair<QStringView, ProxyServer::Kind>, 3> kSchemes{{
    {u"http", ProxyServer::Kind::Http},
    {u"socks5", ProxyServer::Kind::Socks5},
    {u"socks5h", ProxyServer::Kind::Socks5h},
}};

// The first of the variables that is set and not empty; curl passes over empty ones.
std::optional<std::pair<QString, QString>> firstSet(const QProcessEnvironment &environment,
                                                    std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        const QString value = environment.value(QLatin1StringView(name)).trimmed();
        if (!value.isEmpty())
            return std::pair{QLatin1StringView(name).toString(), value};
    }
    return std::nullopt;
}

QString readServer(const QProcessEnvironment &environment, std::initializer_list<const char *> names,
                   std::optional<ProxyServer> &server)
{
    server.reset();
    const auto set = firstSet(environment, names);
    if (!set)
        return {};
    QString why;
    server = parseProxyServer(set->second, why);
    return server ? QString() : set->first + u": "_s + why;
}

// "host", "host:port", "[v6]" or "[v6]:port" of a no_proxy entry; a port that is no number
// is -1, which no URL has.
std::pair<QStringView, std::optional<qint64>> splitPort(QStringView entry)
{
    const qsizetype colon = entry.lastIndexOf(u':');
    const qsizetype bracket = entry.lastIndexOf(u']');
    if (colon < 0 || colon < bracket || (bracket < 0 && entry.indexOf(u':') != colon))
        return {entry, std::nullopt}; // no port, or a bare IPv6 address
    return {entry.first(colon), Text::wholeNumber(entry.sliced(colon + 1), 5, 0, 65535).value_or(-1)};
}

} // namespace

QString ProxyServer::name() const
{
    const auto scheme = std::find_if(kSchemes.begin(), kSchemes.end(), [this](const auto &known) { return known.second == kind; });
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return scheme->first + u"://"_s + shownHost + u':' + QString::number(port);
}

std::optional<ProxyServer> parseProxyServer(const QString &text, QString &why)
{
    const QString trimmed = text.trimmed();
    const QUrl url(trimmed.contains(u"://"_s) ? trimmed : u"http://"_s + trimmed, QUrl::StrictMode);
    // The value is shown without its credentials, and not at all when it cannot be read: it may
    // hold a password.
    why = u"not a proxy URL (http://, socks5:// or socks5h://HOST[:PORT])"_s
        + (url.isValid() ? u": "_s + url.toDisplayString(QUrl::RemoveUserInfo) : QString());
    const auto scheme = std::find_if(kSchemes.begin(), kSchemes.end(),
                                     [&url](const auto &known) { return url.scheme() == known.first; });
    const bool bare = url.path().isEmpty() || url.path() == u"/";
    if (!url.isValid() || scheme == kSchemes.end() || url.host().isEmpty() || !bare || url.hasQuery()
        || url.hasFragment())
        return std::nullopt;
    why.clear();
    return ProxyServer{scheme->second, url.host(), static_cast<quint16>(url.port(kDefaultProxyPort)),
                       url.userName(QUrl::FullyDecoded), url.password(QUrl::FullyDecoded)};
}

bool exemptFromProxy(const QStringList &noProxy, const QUrl &url)
{
    const QString host = url.host().toLower();
    const int port = url.port(url.scheme() == u"https" ? 443 : 80);
    for (const QString &list : noProxy) {
        for (QStringView entry : QStringView(list).split(u',')) {
            entry = entry.trimmed();
            if (entry == u"*")
                return true;
            auto [name, entryPort] = splitPort(entry);
            if (entryPort && *entryPort != port)
                continue;
            if (name.startsWith(u'[') && name.endsWith(u']'))
                name = name.sliced(1, name.size() - 2);
            if (name.startsWith(u'.'))
                name = name.sliced(1);
            if (name.isEmpty())
                continue;
            const bool same = host.compare(name, Qt::CaseInsensitive) == 0;
            const bool under = host.size() > name.size() && host.endsWith(name, Qt::CaseInsensitive)
                && host.at(host.size() - name.size() - 1) == u'.';
            if (same || under)
                return true;
        }
    }
    return false;
}

std::optional<ProxyServer> ProxyChoice::serverFor(const QUrl &url) const
{
    std::optional<ProxyServer> server;
    if (mode == Mode::Fixed)
        server = fixed;
    else if (mode == Mode::Environment)
        server = url.scheme() == u"https" ? (https ? https : all) : url.scheme() == u"http" ? (http ? http : all) : all;
    if (!server || exemptFromProxy(noProxy, url))
        return std::nullopt;
    return server;
}

QString acceptProxySetting(const QString &value, const QString &source, ProxyChoice &choice)
{
    const QString word = value.trimmed();
    choice = ProxyChoice{};
    if (word == u"env")
        choice.mode = ProxyChoice::Mode::Environment;
    else if (word == u"system")
        choice.mode = ProxyChoice::Mode::System;
    else if (word == u"none")
        choice.mode = ProxyChoice::Mode::None;
    else {
        QString why;
        choice.mode = ProxyChoice::Mode::Fixed;
        choice.fixed = parseProxyServer(word, why);
        if (!choice.fixed)
            return source + u": env, system, none or "_s + why;
    }
    return {};
}

QString readProxyEnvironment(const QProcessEnvironment &environment, ProxyChoice &choice)
{
    if (choice.mode == ProxyChoice::Mode::System || choice.mode == ProxyChoice::Mode::None)
        return {};
    choice.noProxy.clear();
    if (const auto set = firstSet(environment, {"no_proxy", "NO_PROXY"}))
        choice.noProxy.append(set->second);
    if (choice.mode == ProxyChoice::Mode::Fixed)
        return {};
    for (QString error : {readServer(environment, {"http_proxy"}, choice.http),
                          readServer(environment, {"https_proxy", "HTTPS_PROXY"}, choice.https),
                          readServer(environment, {"all_proxy", "ALL_PROXY"}, choice.all)}) {
        if (!error.isEmpty())
            return error;
    }
    return {};
}

QString resolveProxy(const QString &setting, const QProcessEnvironment &environment, ProxyChoice &choice)
{
    const QString error = acceptProxySetting(setting, u"--proxy"_s, choice);
    return error.isEmpty() ? readProxyEnvironment(environment, choice) : error;
}

} // namespace Config
