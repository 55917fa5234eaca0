#include "crawl/linkstate.h"

#include <array>
#include <utility>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace Crawl {

namespace {

constexpr std::array kStateNames{
    std::pair{LinkState::Live, u"live"},       std::pair{LinkState::Locked, u"locked"},
    std::pair{LinkState::Dead, u"dead"},       std::pair{LinkState::Limited, u"limited"},
    std::pair{LinkState::Unknown, u"unknown"},
};

constexpr std::array kReasonNames{
    std::pair{DeadReason::Cancelled, u"cancelled"}, std::pair{DeadReason::Expired, u"expired"},
    std::pair{DeadReason::Deleted, u"deleted"},     std::pair{DeadReason::Violation, u"violation"},
    std::pair{DeadReason::NotFound, u"not_found"},
};

template<typename Table, typename Value>
QString nameIn(const Table &table, Value value)
{
    for (const auto &[v, name] : table)
        if (v == value)
            return QString::fromUtf16(name);
    return {};
}

template<typename Table>
auto valueIn(const Table &table, QStringView name) -> std::optional<decltype(table[0].first)>
{
    for (const auto &[v, n] : table)
        if (name == QStringView(n))
            return v;
    return std::nullopt;
}

} // namespace

QString linkStateName(LinkState state)
{
    return nameIn(kStateNames, state);
}

std::optional<LinkState> parseLinkState(QStringView name)
{
    return valueIn(kStateNames, name);
}

QString deadReasonName(DeadReason reason)
{
    return nameIn(kReasonNames, reason);
}

std::optional<DeadReason> parseDeadReason(QStringView name)
{
    return valueIn(kReasonNames, name);
}

std::chrono::seconds defaultCacheAge(LinkState state)
{
    switch (state) {
    case LinkState::Live: return 24h;
    case LinkState::Locked: return 12h;
    case LinkState::Dead: return 6h;
    case LinkState::Limited: return 10min;
    case LinkState::Unknown: break;
    }
    return 30min;
}

} // namespace Crawl
