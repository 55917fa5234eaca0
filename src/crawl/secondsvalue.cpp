#include "crawl/secondsvalue.h"

#include <algorithm>

namespace Crawl {

std::optional<std::chrono::milliseconds> secondsValue(QByteArrayView text, bool fractionAllowed)
{
    const qsizetype point = fractionAllowed ? text.indexOf('.') : -1;
    const QByteArrayView whole = point < 0 ? text : text.first(point);
    const QByteArrayView fraction = point < 0 ? QByteArrayView() : text.sliced(point + 1);
    const auto digitsOnly = [](QByteArrayView digits) {
        return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if ((whole.isEmpty() && fraction.isEmpty()) || !digitsOnly(whole) || !digitsOnly(fraction))
        return std::nullopt;

    constexpr qint64 kCap = std::chrono::milliseconds(kSecondsCap).count();
    qint64 millis = 0;
    for (const char c : whole)
        millis = std::min(kCap, millis * 10 + (c - '0') * 1000);
    qint64 scale = 100;
    for (const char c : fraction.first(std::min<qsizetype>(fraction.size(), 3))) {
        millis += (c - '0') * scale;
        scale /= 10;
    }
    return std::chrono::milliseconds(std::min(kCap, millis));
}

} // namespace Crawl
