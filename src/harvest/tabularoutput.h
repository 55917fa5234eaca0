#pragma once

#include "harvest/resourceentry.h"

#include <QList>
#include <QString>

namespace Harvest {

// One line per entry, the six fields in column order separated by tabs, each line ending in
// "\n". A tab or line break inside a field becomes one space, so every entry stays one line.
QString toTsv(const QList<ResourceEntry> &entries);

// One JSON array of objects with the string members number, title, fileCount, shareCode,
// entryId and extractionCode (in that order), followed by "\n".
QString toJson(const QList<ResourceEntry> &entries);

} // namespace Harvest
