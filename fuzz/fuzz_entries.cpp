// Entry parsing of any page: one row per entry marker, numbered in order, ids never longer
// than the id length.
#include "harvest/entryparser.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<Harvest::ResourceEntry> entries = Harvest::parseEntries(page);
    if (entries.size() != page.count(Harvest::kEntryMarker))
        std::abort();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].number != QString::number(i + 1) || entries[i].entryId.size() > Harvest::kEntryIdLength)
            std::abort();
    }
    return 0;
}
