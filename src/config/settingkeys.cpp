#include "config/settingkeys.h"

#include "text/printable.h"
#include "text/wholenumber.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace Config {

namespace {

// Long enough for any address or user agent a site expects, short enough for one usage line.
constexpr qsizetype kLongestText = 2048;

Checked refused(const char *why)
{
    return {{}, QLatin1StringView(why)};
}

bool isHttpUrl(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

bool hasControl(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

Checked pageUrl(const QString &text)
{
    const QString value = text.trimmed();
    return isHttpUrl(value) ? Checked{value, {}} : refused("not an http or https URL");
}

// Empty: no proxy. Otherwise a proxy Qt can use, http or SOCKS5, named by host and port alone.
// "env", "system", "none" or a proxy server's URL, as the requests read it.
Checked proxySetting(const QString &text)
{
    const QString value = text.trimmed();
    ProxyChoice choice;
    if (!acceptProxySetting(value, {}, choice).isEmpty())
        return refused("env, system, none or a proxy URL (http://, socks5:// or socks5h://[USER:PASS@]HOST[:PORT])");
    return {value, {}};
}

// Plain digits only, so no sign, fraction or overflowing count gets in.
Checked wholeNumberIn(const QString &text, qint64 low, qint64 high, QStringView unit)
{
    const std::optional<qint64> number = Text::wholeNumber(text.trimmed(), 10, low, high);
    if (!number)
        return {{}, u"not a whole number of "_s + unit + u" from "_s + QString::number(low) + u" to "_s + QString::number(high)};
    return {QString::number(*number), {}};
}

Checked timeoutSeconds(const QString &text)
{
    return wholeNumberIn(text, 1, 24 * 60 * 60, u"seconds");
}

Checked delayMilliseconds(const QString &text)
{
    return wholeNumberIn(text, 0, kLongestDelayMs, u"milliseconds");
}

// It goes into a request header: one line of printable ASCII, so no line break can add a header.
Checked headerText(const QString &text)
{
    const QString value = text.trimmed();
    const bool printableAscii = std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u' ' && c <= u'~'; });
    if (value.isEmpty() || !printableAscii || value.size() > kLongestText)
        return {{}, u"not printable ASCII text of at most "_s + QString::number(kLongestText) + u" characters"_s};
    return {value, {}};
}

// Empty: none. Whether the file can be read is for its reader to say.
Checked filePath(const QString &text)
{
    if (hasControl(text) || text.size() > kLongestText)
        return refused("not a file path");
    return {text.trimmed(), {}};
}

const std::array kSettings{
    Setting{"share-site", "VORLEN_SHARE_SITE", "URL", checkBaseUrl, &Endpoints::shareSite, nullptr, 1ms, "share-search site",
            "分享搜索网站"},
    Setting{"share-prefix", "VORLEN_SHARE_PREFIX", "URL", checkBaseUrl, &Endpoints::sharePrefix, nullptr, 1ms,
            "prefix of share links", "分享链接前缀"},
    Setting{"forum", "VORLEN_FORUM", "URL", checkBaseUrl, &Endpoints::forum, nullptr, 1ms, "forum base address", "论坛地址"},
    Setting{"update-server", "VORLEN_UPDATE_SERVER", "URL", checkBaseUrl, &Endpoints::updateServer, nullptr, 1ms,
            "software server of the version file", "软件服务器"},
    Setting{"probe", "VORLEN_PROBE", "URL", pageUrl, &Endpoints::probe, nullptr, 1ms, "connectivity probe page", "联网检测页面"},
    Setting{"timeout", "VORLEN_TIMEOUT", "SECONDS", timeoutSeconds, nullptr, &Endpoints::timeout, 1s,
            "transfer timeout of one page fetch, 1..86400, default 30", "超时（秒）"},
    Setting{"proxy", "VORLEN_PROXY", "URL|env|system|none", proxySetting, &Endpoints::proxySetting, nullptr, 1ms,
            "proxy of every request: http://, socks5:// or socks5h://[USER:PASS@]HOST[:PORT]; env (default):\n"
            "    http_proxy, https_proxy, all_proxy and no_proxy as curl reads them", "代理服务器"},
    Setting{"user-agent", "VORLEN_USER_AGENT", "TEXT", headerText, &Endpoints::userAgent, nullptr, 1ms,
            "the User-Agent of every request, default a desktop browser's", "浏览器标识 (User-Agent)"},
    Setting{"crawl-delay", "VORLEN_CRAWL_DELAY", "MS", delayMilliseconds, nullptr, &Endpoints::crawlDelay, 1ms,
            "the crawl's pause between two requests to a site, 0..3600000 (crawl --delay beats it)"},
    Setting{"site-profile", "VORLEN_SITE_PROFILE", "FILE", filePath, &Endpoints::siteProfile, nullptr, 1ms,
            "JSON profile of how the share-search site is read (see profile show)", "站点配置文件"},
    Setting{"library", "VORLEN_LIBRARY", "FILE", filePath, &Endpoints::library, nullptr, 1ms,
            "the resource library (SQLite), default library.sqlite in the user's data folder", "资源库文件"},
};

} // namespace

QString shownSettingText(QStringView text)
{
    static const QRegularExpression userInfo(u"://[^/@]*@"_s);
    return Text::printable(text).replace(userInfo, u"://"_s);
}

std::span<const Setting> settings()
{
    return kSettings;
}

const Setting *findSetting(QStringView key)
{
    const auto it = std::find_if(kSettings.begin(), kSettings.end(),
                                 [key](const Setting &setting) { return key == QLatin1StringView(setting.key); });
    return it == kSettings.end() ? nullptr : &*it;
}

QString settingText(const Setting &setting, const Endpoints &endpoints)
{
    if (setting.text)
        return endpoints.*setting.text;
    return QString::number((endpoints.*setting.duration) / setting.unit);
}

void storeSetting(const Setting &setting, Endpoints &endpoints, const QString &value)
{
    if (setting.text)
        endpoints.*setting.text = value;
    else
        endpoints.*setting.duration = value.toLongLong() * setting.unit;
}

Checked checkBaseUrl(const QString &text)
{
    QString value = text.trimmed();
    if (!isHttpUrl(value))
        return refused("not an http or https URL");
    if (!value.endsWith(u'/'))
        value += u'/';
    return {value, {}};
}

} // namespace Config
