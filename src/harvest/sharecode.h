#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace Harvest {

// Cuts the share code out of a detail page: the text after the first occurrence of prefix, up to
// the next occurrence of prefix, up to and including its first double quote, with every double
// quote, "踋", "?" and "鉳" removed. Empty when no double quote follows the prefix in that
// stretch. nullopt when the page does not contain prefix (or prefix is empty).
std::optional<QString> cutShareCode(QStringView detailPage, QStringView prefix);

} // namespace Harvest
