#pragma once

#include "text/gbk.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <chrono>
#include <span>

// How the share-search site is read: the texts at which the harvest, the search, the detail pass
// and the link check cut its pages, and the templates of its addresses. The compiled-in profile
// reads the site as it is laid out today; a profile file (JSON) replaces it when the site
// changes its layout, so nobody has to wait for a new build.
namespace Config {

// The newest profile format this program reads; a file of a newer one is refused.
inline constexpr int kSiteProfileVersion = 1;
// A larger profile file is refused unread.
inline constexpr qint64 kLargestSiteProfile = 1024 * 1024;

// What each address template must hold; the page number, entry id or keyword replaces it.
inline constexpr QStringView kPagePlaceholder = u"{page}";
inline constexpr QStringView kIdPlaceholder = u"{id}";
inline constexpr QStringView kKeywordPlaceholder = u"{keyword}";

enum class KeywordEncoding {
    Gbk,  // every GBK byte percent-encoded, as the site's own search form sends it
    Utf8, // UTF-8, all but the unreserved characters percent-encoded
};

// A share page is read as one state of the share when it answers with one of statuses or its
// body holds one of wordings.
struct ShareRule
{
    QStringList wordings;
    QList<int> statuses; // 300..599: a 2xx answer is a page, told by its wordings

    friend bool operator==(const ShareRule &, const ShareRule &) = default;
};

struct ShareRules
{
    ShareRule locked{{QStringLiteral("请输入提取码"), QStringLiteral("提取码错误")}, {}};
    ShareRule limited{{QStringLiteral("访问过于频繁"), QStringLiteral("验证码")}, {429}};
    // Dead, by reason.
    ShareRule cancelled{{QStringLiteral("分享已取消")}, {}};
    ShareRule expired{{QStringLiteral("已过期"), QStringLiteral("已失效"), QStringLiteral("来晚了")}, {}};
    ShareRule deleted{{QStringLiteral("已被删除"), QStringLiteral("文件已删除")}, {}};
    ShareRule violation{{QStringLiteral("违规"), QStringLiteral("涉及侵权")}, {}};
    ShareRule notFound{{QStringLiteral("链接不存在"), QStringLiteral("分享不存在")}, {404, 410}};

    friend bool operator==(const ShareRules &, const ShareRules &) = default;
};

struct SiteProfile
{
    int version = kSiteProfileVersion;

    // A listing or results page: each entry's id follows entryMarker (entryIdLength characters),
    // each field its own marker, up to the next "<".
    QString entryMarker = QStringLiteral("<dd class='fff' id='");
    qsizetype entryIdLength = 18;
    QString titleMarker = QStringLiteral("<dfn>");
    QString fileCountMarker = QStringLiteral("<span class='ssite'>");
    QString extractionCodeMarker = QStringLiteral("<span class='sma'>");
    // What the site shows on a page that truly holds no entry; a page with neither an entry
    // marker nor one of these is taken for a changed layout.
    QStringList emptyResultWordings{QStringLiteral("没有更多资源"), QStringLiteral("没有找到"),
                                    QStringLiteral("没有资源"), QStringLiteral("暂无")};

    // Address templates, appended to the share site (--share-site).
    QString listingUrl = QStringLiteral("act-{page}.html");
    QString detailUrl = QStringLiteral("id-{id}.html");
    // submit.x/y are where the form's image button was clicked; submit is 开始搜索 in GBK.
    QString searchUrl = QStringLiteral("?wd={keyword}&submit.x=49&submit.y=14&submit=%BF%AA%CA%BC%CB%D1%CB%F7");
    KeywordEncoding keywordEncoding = KeywordEncoding::Gbk;

    // The character set of a page that declares none.
    QByteArray charsetFallback = Text::kGbkName;

    // What the share code follows on a detail page; empty: the share-link prefix (--share-prefix).
    QString shareLinkMarker;

    // The query parameter of a share link that carries the extraction code ("{url}?pwd={code}").
    QString extractionCodeQuery = QStringLiteral("pwd");

    // How a share page tells what became of the share (Crawl::classifyShare decides in which order).
    ShareRules shareRules;

    // How to behave towards the site: the User-Agent header (empty: the network library's own)
    // and the least pause between two requests.
    QString userAgent;
    std::chrono::milliseconds minimumDelay{0};

    // The marker the share code follows: shareLinkMarker, or sharePrefix when it is empty.
    const QString &shareLinkMarkerOr(const QString &sharePrefix) const
    {
        return shareLinkMarker.isEmpty() ? sharePrefix : shareLinkMarker;
    }

    friend bool operator==(const SiteProfile &, const SiteProfile &) = default;
};

// A profile key ("group.key") and the marker it holds.
struct MarkerKey
{
    QLatin1StringView key;
    QString SiteProfile::*marker;
};

// The four entry markers of a listing page, in the order an entry shows them.
std::span<const MarkerKey> entryMarkerKeys();
// The key of SiteProfile::shareLinkMarker.
inline constexpr QLatin1StringView kShareLinkMarkerKey("detail.shareLinkMarker");

// A share rule and the keys of its wordings and statuses ("links.lockedWordings", ...).
struct ShareRuleKey
{
    QLatin1StringView wordings;
    QLatin1StringView statuses;
    ShareRule ShareRules::*rule;
};
std::span<const ShareRuleKey> shareRuleKeys();

// A profile as read, or the reason it was refused; on refusal profile is the compiled-in one.
struct LoadedSiteProfile
{
    SiteProfile profile;
    QString error; // "KEY: what is wrong" (a file's name first when read from a file); empty: read
};

// Reads a profile file: at most kLargestSiteProfile bytes of JSON. Every error names the file,
// and the key when one is at fault.
LoadedSiteProfile loadSiteProfile(const QString &path);

// Reads a profile from JSON text. "version", the four entry markers and the three address
// templates are required; any other key left out keeps the compiled-in value. Unknown keys,
// empty markers or wordings, a share rule's status outside 300..599, a template without its
// placeholder and a version newer than kSiteProfileVersion are refused. The earlier
// "shareCheck.deadWordings" is still read: it replaces every dead reason's wordings, each
// wording going to the reason whose compiled-in wordings hold it, any other to "deleted"; a
// "links" key given as well decides for its reason.
LoadedSiteProfile readSiteProfile(const QByteArray &json);

// profile as the JSON that readSiteProfile reads back, every key written.
QByteArray writeSiteProfile(const SiteProfile &profile);

} // namespace Config
