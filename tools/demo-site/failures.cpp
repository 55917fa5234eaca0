#include "demo-site/failures.h"

#include "demo-site/stablehash.h"

namespace DemoSite {

namespace {

constexpr std::uint64_t kFailureSalt = 0x100;
constexpr std::uint64_t kScale = 1'000'000; // fractions in millionths

} // namespace

Failure plannedFailure(std::uint32_t seed, double fraction, const std::string &path, int attempt)
{
    if (!(fraction > 0))
        return Failure::None;
    const std::uint64_t hash = stableHash(seed, path, kFailureSalt + static_cast<std::uint64_t>(attempt));
    if (static_cast<double>(hash % kScale) >= fraction * kScale)
        return Failure::None;
    return (hash / kScale) % 2 == 0 ? Failure::ServerError : Failure::DroppedConnection;
}

} // namespace DemoSite
