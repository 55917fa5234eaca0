#pragma once

#include <QStringView>

#include <optional>

namespace Text {

// A whole decimal number in low..high written as plain digits only: no space, fraction,
// exponent or "+", a "-" only where low is negative, and at most maxDigits (up to 18) digits, so
// no count can overflow on the way in.
std::optional<qint64> wholeNumber(QStringView text, qsizetype maxDigits, qint64 low, qint64 high);

} // namespace Text
