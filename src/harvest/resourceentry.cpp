#include "harvest/resourceentry.h"

namespace Harvest {

const QString &field(const ResourceEntry &entry, Column column)
{
    static constexpr std::array<QString ResourceEntry::*, ColumnCount> kFields{
        &ResourceEntry::number,    &ResourceEntry::title,   &ResourceEntry::fileCount,
        &ResourceEntry::shareCode, &ResourceEntry::entryId, &ResourceEntry::extractionCode,
    };
    return entry.*kFields[column];
}

} // namespace Harvest
