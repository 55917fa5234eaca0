#include "gui/librarymodel.h"

#include "gui/librarytexts.h"
#include "library/schema.h"
#include "library/store.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTimer>
#include <QtConcurrentRun>

#include <algorithm>
#include <array>
#include <utility>

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

void LibraryModel::setFilter(Library::Query filter)
{
    const QString text = Library::searchableTitle(filter.text);
    filter.text.clear();
    filter.sort = m_query.sort;
    filter.order = m_query.order;
    const bool sameIds = filter.states == m_query.states && filter.since == m_query.since
        && filter.source == m_query.source && filter.sourceValue == m_query.sourceValue
        && filter.includeHidden == m_query.includeHidden;
    m_query = filter;
    m_text = text;
    if (sameIds)
        showMatching();
    else
        reload();
}

void LibraryModel::reload()
{
    if (m_byTitle) {
        m_queryIds = m_store.matchingIds(m_query);
        sortByTitle(m_queryIds);
        m_complete = true;
    } else {
        // The first ids alone (SQLite stops sorting early), their rows painted before the rest are read.
        Library::Query first = m_query;
        first.limit = kFirstRows;
        m_queryIds = m_store.matchingIds(first);
        m_complete = m_queryIds.size() < kFirstRows;
    }
    showMatching();
    scheduleRest();
}

void LibraryModel::scheduleRest()
{
    if (m_waitForShown)
        m_restWaiting = true;
    else
        QTimer::singleShot(0, this, &LibraryModel::readRest);
}

void LibraryModel::rowsShown()
{
    if (std::exchange(m_restWaiting, false))
        QTimer::singleShot(0, this, &LibraryModel::readRest);
}

void LibraryModel::readRest()
{
    if (!m_complete)
        completeIds();
    // Another turn: the rows just added are painted before the titles are read.
    if (!m_titleOrder.isValid())
        QTimer::singleShot(0, this, [this] {
            if (!m_titleOrder.isValid())
                loadTitles();
        });
}

void LibraryModel::rereadRecords()
{
    m_blocks.clear();
    if (!m_ids.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void LibraryModel::completeIds()
{
    QList<qint64> all = m_store.matchingIds(m_query);
    m_complete = true;
    const bool sameStart = all.size() >= m_queryIds.size() && std::equal(m_queryIds.cbegin(), m_queryIds.cend(), all.cbegin());
    if (!sameStart) { // the library changed in between
        m_queryIds = std::move(all);
        return showMatching();
    }
    const QList<qint64> rest = all.mid(m_queryIds.size());
    m_queryIds = std::move(all);
    if (!m_text.isEmpty() && !titlesCover(rest))
        return showMatching(); // shares that came after the titles were read
    QList<qint64> added;
    for (const qint64 id : rest)
        if (m_text.isEmpty() || foldedTitle(id).contains(m_text))
            added.append(id);
    if (added.isEmpty())
        return;
    beginInsertRows({}, static_cast<int>(m_ids.size()), static_cast<int>(m_ids.size() + added.size() - 1));
    m_ids += added;
    endInsertRows();
}

const QList<qint64> &LibraryModel::ids()
{
    if (!m_complete)
        completeIds();
    return m_ids;
}

void LibraryModel::showMatching()
{
    beginResetModel();
    m_blocks.clear();
    if (m_text.isEmpty()) {
        m_ids = m_queryIds;
    } else {
        if (!titlesCover(m_queryIds))
            loadTitles();
        m_ids.clear();
        for (const qint64 id : std::as_const(m_queryIds))
            if (foldedTitle(id).contains(m_text))
                m_ids.append(id);
    }
    endResetModel();
}

void LibraryModel::sortByTitle(QList<qint64> &ids)
{
    if (!m_titleOrder.isValid() || !titlesCover(ids)) // shares recorded since the titles were read
        loadTitles();
    if (!m_titleOrder.result().covers(ids)) // read before the last titles came
        m_titleOrder = QtFuture::makeReadyFuture(
            Library::TitleOrder::fromTitles(Library::allTitles(m_store), Library::titleLocale()));
    m_titleOrder.result().sort(ids, m_query.order);
}

const QString &LibraryModel::foldedTitle(qint64 id) const
{
    static const QString kNone;
    return id >= 0 && static_cast<std::size_t>(id) < m_foldedTitles.size() ? m_foldedTitles[static_cast<std::size_t>(id)] : kNone;
}

bool LibraryModel::titlesCover(const QList<qint64> &ids) const
{
    return std::all_of(ids.cbegin(), ids.cend(), [this](qint64 id) { return !foldedTitle(id).isNull(); });
}

void LibraryModel::loadTitles()
{
    // Read here (the connection belongs to this thread); the collation keys are made elsewhere.
    QList<Library::TitledId> titles = Library::allTitles(m_store);
    qint64 largestId = -1;
    for (const Library::TitledId &title : std::as_const(titles))
        largestId = std::max(largestId, title.id);
    m_foldedTitles.assign(static_cast<std::size_t>(largestId + 1), QString());
    for (Library::TitledId &title : titles) {
        // Never null, so an empty title still counts as read; the collation needs the title alone.
        m_foldedTitles[static_cast<std::size_t>(title.id)] = title.folded.isNull() ? QString::fromLatin1("") : std::move(title.folded);
    }
    m_titleOrder = QtConcurrent::run(&Library::TitleOrder::fromTitles, std::move(titles), Library::titleLocale());
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
    if (m_byTitle && m_complete) { // the same shares in another order: no need to ask SQLite
        sortByTitle(m_queryIds);
        return showMatching();
    }
    reload();
}

} // namespace Gui
