#pragma once

#include "harvest/resourceentry.h"

#include <QList>
#include <QStringView>

namespace Harvest {

// Cuts a listing or search-result page into entries, in page order, numbered from "1".
//
// Each of the four markers cuts the whole page on its own; the i-th entry marker pairs with the
// i-th title, file-count and extraction-code marker wherever they stand, and a marker that
// occurs fewer than i times leaves its field empty. A field is the text after its marker up to
// the first "<" before the next occurrence of the same marker, empty when there is no "<" in
// between. The entry identifier is the first 18 characters after the entry marker, whatever
// they are. Markers are exact and case-sensitive. A page without an entry marker gives nothing.
QList<ResourceEntry> parseEntries(QStringView page);

// The markers of the page format.
inline constexpr QStringView kEntryMarker = u"<dd class='fff' id='";
inline constexpr QStringView kTitleMarker = u"<dfn>";
inline constexpr QStringView kFileCountMarker = u"<span class='ssite'>";
inline constexpr QStringView kExtractionCodeMarker = u"<span class='sma'>";
inline constexpr qsizetype kEntryIdLength = 18;

} // namespace Harvest
