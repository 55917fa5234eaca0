#include "gui/librarymarks.h"

#include "gui/librarytexts.h"
#include "library/store.h"

#include <QGuiApplication>
#include <QPalette>

using namespace Qt::StringLiterals;

namespace Gui {

LibraryMarks::LibraryMarks(Harvest::ResultList &list, Library::Store *store, const Config::Endpoints &endpoints,
                           QObject *parent)
    : QIdentityProxyModel(parent)
    , m_list(list)
    , m_store(store)
    , m_endpoints(endpoints)
{
    setSourceModel(&list);
    if (!m_store)
        return;
    connect(&list, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        const QDateTime now = QDateTime::currentDateTime();
        for (int row = first; row <= last; ++row)
            m_arrived.insert(m_list.rowId(row), now);
        lookUp(first, last);
    });
    connect(&list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                if (topLeft.column() <= Harvest::ShareCodeColumn && bottomRight.column() >= Harvest::ShareCodeColumn)
                    lookUp(topLeft.row(), bottomRight.row());
            });
    connect(&list, &QAbstractItemModel::modelReset, this, [this] {
        m_arrived.clear();
        m_firstSeen.clear();
    });
    connect(&list, &QAbstractItemModel::rowsRemoved, this, [this] {
        // Few rows: dropping what no row holds any more is cheaper than tracking ids.
        QHash<Harvest::RowId, QDateTime> kept;
        for (int row = 0; row < m_list.rowCount(); ++row)
            if (const auto found = m_firstSeen.constFind(m_list.rowId(row)); found != m_firstSeen.cend())
                kept.insert(found.key(), found.value());
        m_firstSeen = kept;
    });
}

QString LibraryMarks::keyOf(int row) const
{
    const Harvest::ResourceEntry &entry = m_list.entry(row);
    return entry.shareCode.isEmpty() ? entry.entryId : m_endpoints.sharePrefix + entry.shareCode;
}

void LibraryMarks::lookUp(int first, int last)
{
    QStringList keys;
    for (int row = first; row <= last; ++row)
        keys.append(keyOf(row));
    const QHash<QString, QDateTime> known = m_store->firstSeen(keys);
    for (int row = first; row <= last; ++row) {
        const Harvest::RowId id = m_list.rowId(row);
        const QDateTime seen = known.value(keyOf(row));
        // A share this run recorded was first seen by this run: nothing to tell.
        if (seen.isValid() && seen < m_arrived.value(id))
            m_firstSeen.insert(id, seen);
    }
    emit dataChanged(index(first, 0), index(last, Harvest::ColumnCount - 1), {Qt::ToolTipRole, Qt::ForegroundRole});
}

QVariant LibraryMarks::data(const QModelIndex &index, int role) const
{
    if ((role == Qt::ToolTipRole || role == Qt::ForegroundRole) && index.isValid()) {
        const auto found = m_firstSeen.constFind(m_list.rowId(index.row()));
        if (found != m_firstSeen.cend()) {
            if (role == Qt::ToolTipRole)
                return QString(u"首次获取于 "_s + shownTime(found.value()));
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        }
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace Gui
