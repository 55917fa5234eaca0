#pragma once

#include "library/sharerecord.h"
#include "library/titleorder.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QFuture>
#include <QList>

namespace Library {
class Store;
}

namespace Gui {

// The shares of the library that match a query, as a table. Only the ordered ids are held;
// the records are read in blocks as rows are shown and a few blocks are kept, so a library of
// hundreds of thousands of shares opens at once. Titles sort by the collation people read
// (Library::TitleOrder, built in the background once the first rows are shown).
class LibraryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int {
        TitleColumn,
        FileCountColumn,
        ShareCodeColumn,
        ExtractionCodeColumn,
        LinkColumn,
        FirstSeenColumn,
        LastSeenColumn,
        TimesSeenColumn,
        ColumnCount
    };

    // store must outlive the model.
    explicit LibraryModel(Library::Store &store, QObject *parent = nullptr);

    // Shows the shares that match filter, in the model's present order; filter's own sort is
    // ignored.
    void setFilter(const Library::Query &filter);
    // Reads the matching ids again (after a change of the library).
    void reload();

    qint64 idAt(int row) const { return m_ids.at(row); }
    const QList<qint64> &ids() const { return m_ids; }
    // The share shown at row; its block is read when it is not held.
    const Library::ShareRecord &recordAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    using Block = QList<Library::ShareRecord>;

    QList<qint64> orderedIds() const;
    void startTitleOrder();

    Library::Store &m_store;
    Library::Query m_query;
    bool m_byTitle = false; // sorted by TitleOrder rather than by the query
    QList<qint64> m_ids;
    mutable QCache<qsizetype, Block> m_blocks;
    mutable QFuture<Library::TitleOrder> m_titleOrder;
};

} // namespace Gui
