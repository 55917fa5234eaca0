#include "gui/librarymodel.h"

#include "gui/librarytexts.h"
#include "library/store.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTimer>
#include <QtConcurrentRun>

#include <array>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

constexpr qsizetype kBlockRows = 256;
constexpr int kBlocksKept = 64;

struct ColumnInfo
{
    const char16_t *header;
    std::optional<Library::SortColumn> sort; // none: titles, sorted by collation
    bool number;
};

constexpr std::array<ColumnInfo, LibraryModel::ColumnCount> kColumns{{
    {u"名称", std::nullopt, false},
    {u"文件数", Library::SortColumn::FileCount, true},
    {u"资源码", Library::SortColumn::ShareCode, false},
    {u"提取码", Library::SortColumn::ExtractionCode, false},
    {u"链接状态", Library::SortColumn::LinkState, false},
    {u"首次获取", Library::SortColumn::FirstSeen, false},
    {u"最近获取", Library::SortColumn::LastSeen, false},
    {u"获取次数", Library::SortColumn::TimesSeen, true},
}};

QString displayText(const Library::ShareRecord &share, int column)
{
    switch (column) {
    case LibraryModel::TitleColumn: return share.title;
    case LibraryModel::FileCountColumn: return share.fileCount;
    case LibraryModel::ShareCodeColumn: return share.shareCode;
    case LibraryModel::ExtractionCodeColumn: return share.extractionCode;
    case LibraryModel::LinkColumn: return share.link ? linkVerdictText(*share.link) : QString();
    case LibraryModel::FirstSeenColumn: return shownTime(share.firstSeen);
    case LibraryModel::LastSeenColumn: return shownTime(share.lastSeen);
    case LibraryModel::TimesSeenColumn: return QString::number(share.timesSeen);
    default: return {};
    }
}

} // namespace

LibraryModel::LibraryModel(Library::Store &store, QObject *parent)
    : QAbstractTableModel(parent)
    , m_store(store)
    , m_blocks(kBlocksKept)
{
}

void LibraryModel::setFilter(const Library::Query &filter)
{
    const Library::SortColumn sort = m_query.sort;
    const Qt::SortOrder order = m_query.order;
    m_query = filter;
    m_query.sort = sort;
    m_query.order = order;
    reload();
}

void LibraryModel::reload()
{
    beginResetModel();
    m_blocks.clear();
    m_ids = orderedIds();
    endResetModel();
}

QList<qint64> LibraryModel::orderedIds() const
{
    QList<qint64> ids = m_store.matchingIds(m_query);
    if (!m_byTitle)
        return ids;
    if (!m_titleOrder.isValid() || !m_titleOrder.result().covers(ids)) // shares recorded since
        m_titleOrder = QtFuture::makeReadyFuture(Library::TitleOrder::fromTitles(Library::allTitles(m_store), Library::titleLocale()));
    m_titleOrder.result().sort(ids, m_query.order);
    return ids;
}

void LibraryModel::startTitleOrder()
{
    if (m_titleOrder.isValid())
        return;
    // The titles are read here (the connection belongs to this thread), the keys elsewhere.
    m_titleOrder = QtConcurrent::run(&Library::TitleOrder::fromTitles, Library::allTitles(m_store), Library::titleLocale());
}

const Library::ShareRecord &LibraryModel::recordAt(int row) const
{
    const qsizetype block = row / kBlockRows;
    if (const Block *held = m_blocks.object(block))
        return held->at(row % kBlockRows);
    const QList<qint64> ids = m_ids.mid(block * kBlockRows, kBlockRows);
    const QList<Library::ShareRecord> read = m_store.records(ids);
    // Aligned with the ids: a share forgotten meanwhile shows as an empty row.
    auto *aligned = new Block(ids.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < ids.size() && next < read.size(); ++i)
        if (read.at(next).id == ids.at(i))
            (*aligned)[i] = read.at(next++);
    m_blocks.insert(block, aligned);
    if (!m_titleOrder.isValid())
        QTimer::singleShot(0, const_cast<LibraryModel *>(this), &LibraryModel::startTitleOrder);
    return aligned->at(row % kBlockRows);
}

int LibraryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_ids.size());
}

int LibraryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LibraryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole: return displayText(recordAt(index.row()), index.column());
    case Qt::ToolTipRole:
        return index.column() == TitleColumn ? QVariant(recordAt(index.row()).title) : QVariant();
    case Qt::ForegroundRole:
        if (recordAt(index.row()).hidden)
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue((kColumns[index.column()].number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf16(kColumns[section].header);
}

Qt::ItemFlags LibraryModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void LibraryModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_byTitle = !kColumns[column].sort;
    // A title sort reorders the ids itself; the query's cheapest order serves it.
    m_query.sort = kColumns[column].sort.value_or(Library::SortColumn::LastSeen);
    m_query.order = order;
    reload();
}

} // namespace Gui
