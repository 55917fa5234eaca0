// Entry parsing of any page: one row per entry marker, numbered 1..n, ids never longer than the
// id length, no share code yet (the detail page's cut gives it), and every row six fields wide
// when written out.
#include "harvest/entryparser.h"
#include "harvest/tabularoutput.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    static const Config::SiteProfile profile;
    const QList<Harvest::ResourceEntry> entries = Harvest::parseEntries(page, profile);
    if (entries.size() != page.count(profile.entryMarker))
        std::abort();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].number != QString::number(i + 1) || entries[i].entryId.size() > profile.entryIdLength
            || !entries[i].shareCode.isEmpty())
            std::abort();
    }
    const QString tsv = Harvest::toTsv(entries);
    const QStringList lines = tsv.split(u'\n');
    if (lines.size() != entries.size() + 1 || !lines.back().isEmpty())
        std::abort();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (lines[i].count(u'\t') != Harvest::ColumnCount - 1)
            std::abort();
    }
    return 0;
}
