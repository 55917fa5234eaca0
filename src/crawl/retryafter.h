#pragma once

#include <QByteArrayView>
#include <QDateTime>

#include <chrono>
#include <optional>

namespace Crawl {

// The wait a Retry-After header value asks for, seen at now: delta-seconds, or an HTTP-date in
// any of the three forms RFC 9110 section 5.6.7 has a recipient accept (IMF-fixdate, RFC 850,
// asctime). A date already past asks for no wait; waits saturate at kSecondsCap. Nothing for a
// value that is neither.
std::optional<std::chrono::milliseconds> retryAfterWait(QByteArrayView value, const QDateTime &now);

} // namespace Crawl
