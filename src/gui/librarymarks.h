#pragma once

#include "config/endpoints.h"
#include "harvest/resultlist.h"

#include <QDateTime>
#include <QHash>
#include <QIdentityProxyModel>

namespace Library {
class Store;
}

namespace Gui {

// The result list as the main window shows it: a row whose share the library knew before the
// row came shows "首次获取于 <time>" as its tool tip and muted text; columns and texts stay as
// the list has them. A share is known by its share URL, or by its entry id before its share
// code is read.
class LibraryMarks : public QIdentityProxyModel
{
    Q_OBJECT

public:
    // list and endpoints outlive the marks; store may be null (no library: no marks).
    LibraryMarks(Harvest::ResultList &list, Library::Store *store, const Config::Endpoints &endpoints,
                 QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QString keyOf(int row) const;
    // Looks up rows first..last and remembers those the library knew before they came.
    void lookUp(int first, int last);

    Harvest::ResultList &m_list;
    Library::Store *m_store;
    const Config::Endpoints &m_endpoints;
    QHash<Harvest::RowId, QDateTime> m_arrived;   // when each row came into the list
    QHash<Harvest::RowId, QDateTime> m_firstSeen; // rows the library knew before
};

} // namespace Gui
