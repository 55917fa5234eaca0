#pragma once

#include <QByteArrayView>

#include <chrono>
#include <optional>

namespace Crawl {

// Where a count of seconds from outside stops growing: 2^31 s, the bound RFC 9111 section 1.2.2
// gives for delta-seconds.
inline constexpr std::chrono::seconds kSecondsCap{qint64(1) << 31};

// Seconds written as decimal digits, with a fraction after a '.' when fractionAllowed (read to
// the millisecond): no sign, space or exponent. Larger values saturate at kSecondsCap.
std::optional<std::chrono::milliseconds> secondsValue(QByteArrayView text, bool fractionAllowed);

} // namespace Crawl
