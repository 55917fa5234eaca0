#pragma once

#include <QString>

#include <array>

namespace Harvest {

// One harvested share: one row of the result list, six text fields in column order.
struct ResourceEntry
{
    QString number;         // 编号: 1-based position in page order
    QString title;          // 名称
    QString fileCount;      // 文件数
    QString shareCode;      // 资源码: path of the share link after the share prefix
    QString entryId;        // 加密码: names the detail page on the share-search site
    QString extractionCode; // 提取码

    friend bool operator==(const ResourceEntry &, const ResourceEntry &) = default;
};

enum Column : int {
    NumberColumn,
    TitleColumn,
    FileCountColumn,
    ShareCodeColumn,
    EntryIdColumn,
    ExtractionCodeColumn,
    ColumnCount
};

// The field shown in column; column must lie in 0..ColumnCount-1.
const QString &field(const ResourceEntry &entry, Column column);

} // namespace Harvest
