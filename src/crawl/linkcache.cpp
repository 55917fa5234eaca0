#include "crawl/linkcache.h"

#include "text/wholenumber.h"

#include <array>
#include <utility>

using namespace std::chrono_literals;

namespace Crawl {

namespace {

constexpr std::array kUnits{std::pair{u's', std::chrono::seconds(1s)}, std::pair{u'm', std::chrono::seconds(1min)},
                            std::pair{u'h', std::chrono::seconds(1h)}, std::pair{u'd', std::chrono::seconds(24h)}};

} // namespace

bool isFresh(const LinkCheck &check, const QDateTime &now, std::optional<std::chrono::seconds> maxAge)
{
    if (!check.checkedAt.isValid())
        return false;
    const qint64 age = check.checkedAt.secsTo(now);
    return age >= 0 && age < maxAge.value_or(defaultCacheAge(check.verdict.state)).count();
}

std::optional<std::chrono::seconds> parseAge(QStringView text)
{
    std::chrono::seconds unit = 1s;
    for (const auto &[letter, length] : kUnits) {
        if (text.endsWith(QChar(letter))) {
            unit = length;
            text.chop(1);
            break;
        }
    }
    const auto count = Text::wholeNumber(text, 10, 0, kLongestMaxAge / unit);
    if (!count)
        return std::nullopt;
    return *count * unit;
}

CachedLink freshChecks(CachedLink latest, bool recheck, std::optional<std::chrono::seconds> maxAge)
{
    return [latest = std::move(latest), recheck, maxAge](const QString &shareUrl) -> std::optional<LinkCheck> {
        if (recheck || !latest)
            return std::nullopt;
        std::optional<LinkCheck> check = latest(shareUrl);
        if (check && !isFresh(*check, QDateTime::currentDateTimeUtc(), maxAge))
            return std::nullopt;
        return check;
    };
}

} // namespace Crawl
