// Reading a site profile from any JSON text: refused with a reason and the built-in profile
// kept, or read into a profile whose markers and wordings are not empty, whose templates hold
// their placeholders and whose version is one this program knows, and which writes out as JSON
// that reads back to the same profile.
#include "config/siteprofile.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

bool hasEmptyText(const QStringList &texts)
{
    return std::any_of(texts.cbegin(), texts.cend(), [](const QString &text) { return text.isEmpty(); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Config::LoadedSiteProfile loaded = Config::readSiteProfile(json);
    const Config::SiteProfile &p = loaded.profile;
    if (!loaded.error.isEmpty()) {
        if (!(p == Config::SiteProfile()))
            std::abort();
        return 0;
    }
    for (const Config::MarkerKey &marker : Config::entryMarkerKeys()) {
        if ((p.*marker.marker).isEmpty())
            std::abort();
    }
    if (!p.listingUrl.contains(Config::kPagePlaceholder) || !p.detailUrl.contains(Config::kIdPlaceholder)
        || !p.searchUrl.contains(Config::kKeywordPlaceholder) || p.version < 1 || p.version > Config::kSiteProfileVersion
        || p.entryIdLength < 1 || hasEmptyText(p.emptyResultWordings))
        std::abort();
    for (const Config::ShareRuleKey &key : Config::shareRuleKeys()) {
        const Config::ShareRule &rule = p.shareRules.*key.rule;
        if (hasEmptyText(rule.wordings)
            || std::any_of(rule.statuses.cbegin(), rule.statuses.cend(), [](int s) { return s < 300 || s > 599; }))
            std::abort();
    }
    const Config::LoadedSiteProfile again = Config::readSiteProfile(Config::writeSiteProfile(p));
    if (!again.error.isEmpty() || !(again.profile == p))
        std::abort();
    return 0;
}
