#pragma once

#include "harvest/resourceentry.h"

#include <QAbstractTableModel>
#include <QList>

#include <array>

namespace Harvest {

// A stable identity of a row: it survives the removal of other rows and is never reused, so a
// late answer can find the row it was fetched for, or learn that the row is gone.
using RowId = quint64;

// Column widths of the list view in pixels; the entry identifier's column stays hidden.
inline constexpr std::array<int, ColumnCount> kColumnWidths{67, 400, 96, 133, 0, 96};

// The harvested rows in list order: the only store of them. Views only show it.
class ResultList : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ResultList(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Removes count rows from row on; false (and nothing removed) when the range is not inside.
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;
    // Removes the row and renumbers the rest so the numbers read 1..n again; the ids stay, so
    // a running detail pass still finds its rows. False (nothing changed) when row is outside.
    bool removeAndRenumber(int row);

    void clear();
    // Appends the entries as they are, after the present rows.
    void append(const QList<ResourceEntry> &entries);

    // The entry at the 0-based row; row must lie inside.
    const ResourceEntry &entry(int row) const;
    // A copy of every row in list order.
    QList<ResourceEntry> entries() const;
    RowId rowId(int row) const;
    // The 0-based row of id, or -1 when it has been removed or cleared.
    int rowOf(RowId id) const;
    // Writes the share code of the row id; false when that row is gone.
    bool setShareCode(RowId id, const QString &shareCode);

private:
    struct Row
    {
        RowId id;
        ResourceEntry entry;
    };

    QList<Row> m_rows; // ids ascend along the list: rows are only appended or removed
    RowId m_nextId = 1;
};

} // namespace Harvest
