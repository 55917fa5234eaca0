#include "text/wholenumber.h"

namespace Text {

std::optional<qint64> wholeNumber(QStringView text, qsizetype maxDigits, qint64 low, qint64 high)
{
    const bool negative = low < 0 && text.startsWith(u'-');
    if (negative)
        text = text.sliced(1);
    if (text.isEmpty() || text.size() > maxDigits || maxDigits > 18)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (negative)
        value = -value;
    return value >= low && value <= high ? std::optional(value) : std::nullopt;
}

} // namespace Text
