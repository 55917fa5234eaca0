// Any Retry-After value: the wait is never negative nor past the cap, and space around the value
// changes nothing.
#include "crawl/retryafter.h"
#include "crawl/secondsvalue.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView value(data, qsizetype(size));
    const QDateTime now(QDate(2025, 11, 6), QTime(8, 49), Qt::UTC);
    const auto wait = Crawl::retryAfterWait(value, now);
    if (wait && (wait->count() < 0 || *wait > Crawl::kSecondsCap))
        std::abort();
    const QByteArray spaced = " \t" + value.toByteArray() + " ";
    if (Crawl::retryAfterWait(spaced, now) != wait)
        std::abort();
    return 0;
}
