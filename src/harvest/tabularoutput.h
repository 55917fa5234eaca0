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

// Appends text as one TSV field: a tab or line break (CR LF counts as one) becomes one space.
void appendTsvField(QString &out, QStringView text);

// Appends text as a JSON string, quotes included.
void appendJsonString(QString &out, QStringView text);

} // namespace Harvest
