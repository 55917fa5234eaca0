#include "harvest/resultlist.h"

#include <algorithm>

namespace Harvest {

namespace {

const std::array<QString, ColumnCount> &headers()
{
    static const std::array<QString, ColumnCount> kHeaders{
        QStringLiteral("编号"),   QStringLiteral("名称"),   QStringLiteral("文件数"),
        QStringLiteral("资源码"), QStringLiteral("加密码"), QStringLiteral("提取码"),
    };
    return kHeaders;
}

QVariant alignmentOf(int column)
{
    const Qt::Alignment horizontal = column == ExtractionCodeColumn ? Qt::AlignHCenter : Qt::AlignLeft;
    return QVariant::fromValue(horizontal | Qt::AlignVCenter);
}

} // namespace

ResultList::ResultList(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int ResultList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return field(m_rows.at(index.row()).entry, static_cast<Column>(index.column()));
    if (role == Qt::TextAlignmentRole)
        return alignmentOf(index.column());
    return {};
}

QVariant ResultList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return headers().at(section);
    if (role == Qt::TextAlignmentRole)
        return alignmentOf(section);
    return {};
}

Qt::ItemFlags ResultList::flags(const QModelIndex &index) const
{
    // Never editable: the rows are what the site said.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

bool ResultList::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

bool ResultList::removeAndRenumber(int row)
{
    if (!removeRows(row, 1))
        return false;
    for (int i = 0; i < rowCount(); ++i)
        m_rows[i].entry.number = QString::number(i + 1);
    if (rowCount() > 0)
        emit dataChanged(index(0, NumberColumn), index(rowCount() - 1, NumberColumn), {Qt::DisplayRole});
    return true;
}

void ResultList::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ResultList::append(const QList<ResourceEntry> &entries)
{
    if (entries.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
    m_rows.reserve(m_rows.size() + entries.size());
    for (const ResourceEntry &entry : entries)
        m_rows.append(Row{m_nextId++, entry});
    endInsertRows();
}

const ResourceEntry &ResultList::entry(int row) const
{
    return m_rows.at(row).entry;
}

QList<ResourceEntry> ResultList::entries() const
{
    QList<ResourceEntry> copy;
    copy.reserve(m_rows.size());
    for (const Row &row : m_rows)
        copy.append(row.entry);
    return copy;
}

RowId ResultList::rowId(int row) const
{
    return m_rows.at(row).id;
}

int ResultList::rowOf(RowId id) const
{
    const auto found = std::lower_bound(m_rows.cbegin(), m_rows.cend(), id,
                                        [](const Row &row, RowId wanted) { return row.id < wanted; });
    return found != m_rows.cend() && found->id == id ? static_cast<int>(found - m_rows.cbegin()) : -1;
}

bool ResultList::setShareCode(RowId id, const QString &shareCode)
{
    const int row = rowOf(id);
    if (row < 0)
        return false;
    m_rows[row].entry.shareCode = shareCode;
    const QModelIndex changed = index(row, ShareCodeColumn);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
    return true;
}

} // namespace Harvest
