#pragma once

#include "crawl/linkstate.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <chrono>
#include <functional>
#include <optional>

namespace Crawl {

// An earlier check of a share link the crawl takes instead of asking the share; none: ask it.
using CachedLink = std::function<std::optional<LinkCheck>(const QString &shareUrl)>;

// The longest age --max-age takes: ten years.
inline constexpr std::chrono::seconds kLongestMaxAge{std::chrono::days(3650)};

// Whether check still holds at now: younger than maxAge, or without it its state's
// defaultCacheAge. A check without a time, or from after now, holds no longer.
bool isFresh(const LinkCheck &check, const QDateTime &now, std::optional<std::chrono::seconds> maxAge);

// An age as the user writes it: whole seconds, or a whole number followed by s, m, h or d
// ("90", "30m", "6h", "2d"), up to kLongestMaxAge; none for anything else.
std::optional<std::chrono::seconds> parseAge(QStringView text);

// The crawl's cachedLink over latest, which gives the newest earlier check of a share: nothing
// with recheck or without latest, else latest's check while isFresh says it holds.
CachedLink freshChecks(CachedLink latest, bool recheck, std::optional<std::chrono::seconds> maxAge);

} // namespace Crawl
