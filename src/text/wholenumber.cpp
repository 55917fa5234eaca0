#include "text/wholenumber.h"

namespace Text {

std::optional<qint64> wholeNumber(QStringView text, qsizetype maxDigits, qint64 low, qint64 high)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value >= low && value <= high ? std::optional(value) : std::nullopt;
}

} // namespace Text
