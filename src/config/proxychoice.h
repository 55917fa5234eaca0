#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

class QUrl;

// Which proxy, if any, each request goes through.
namespace Config {

// A proxy server as a URL names it: http://, socks5:// (host names of the targets resolved
// here) or socks5h:// (resolved by the proxy), an optional user:password@, the port (1080 when
// none is given).
struct ProxyServer
{
    enum class Kind { Http, Socks5, Socks5h };
    Kind kind = Kind::Http;
    QString host;
    quint16 port = 0;
    QString user;     // percent-decoded
    QString password; // percent-decoded

    // "socks5h://127.0.0.1:1080": how messages name it; the credentials are left out.
    QString name() const;
    bool operator==(const ProxyServer &) const = default;
};

// The server text names, or nothing with why set. A text without "://" is taken as http, as
// curl takes it. Only a "/" may follow the port.
std::optional<ProxyServer> parseProxyServer(const QString &text, QString &why);

struct ProxyChoice
{
    enum class Mode {
        Environment, // the proxy variables as curl reads them (the default)
        System,      // what the system's settings say (Qt's system proxy)
        None,        // every request straight to its host
        Fixed,       // one server for every request
    };
    Mode mode = Mode::Environment;
    std::optional<ProxyServer> fixed; // Fixed
    // Environment: the servers of http_proxy, https_proxy (HTTPS_PROXY) and all_proxy
    // (ALL_PROXY), read with the options. HTTP_PROXY is not read: a CGI program finds a request's
    // "Proxy:" header there.
    std::optional<ProxyServer> http;
    std::optional<ProxyServer> https;
    std::optional<ProxyServer> all;
    // no_proxy (NO_PROXY), for Environment and Fixed: the hosts reached without a proxy.
    QStringList noProxy;

    // The server a request to url goes through (Environment, Fixed); nothing: straight to the host.
    std::optional<ProxyServer> serverFor(const QUrl &url) const;
};

// Whether a no_proxy list exempts url, as curl reads it: entries separated by commas, spaces
// around them ignored; "*" exempts every host; an entry matches its host and every host under
// it ("example.com" and ".example.com" both match "a.example.com", neither "badexample.com"),
// without regard to case; an entry with ":PORT" matches that port only.
bool exemptFromProxy(const QStringList &noProxy, const QUrl &url);

// Takes "--proxy"/VORLEN_PROXY: "env", "system", "none" or a server's URL. Returns the error
// line naming source, or the empty text.
QString acceptProxySetting(const QString &value, const QString &source, ProxyChoice &choice);

// Reads the variables the choice's mode needs from environment (nothing for System and None).
// Returns the error line naming a variable whose server cannot be read, or the empty text.
QString readProxyEnvironment(const QProcessEnvironment &environment, ProxyChoice &choice);

// The choice a proxy setting makes with environment: acceptProxySetting, then
// readProxyEnvironment. Returns the first error line, or the empty text.
QString resolveProxy(const QString &setting, const QProcessEnvironment &environment, ProxyChoice &choice);

} // namespace Config
