#pragma once

#include "library/sharerecord.h"
#include "library/titleorder.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QFuture>
#include <QList>

#include <vector>

namespace Library {
class Store;
}

namespace Gui {

// The shares of the library that match a query, as a table. Only the ordered ids are held;
// the records are read in blocks as rows are shown and a few blocks are kept, so a library of
// hundreds of thousands of shares opens at once. Once the first rows are shown every title is
// read once: a change of the search text then filters the ids of the other filters in memory
// (the library's own rule: a substring of the case-folded title) instead of asking SQLite
// again, and titles sort by the collation people read (Library::TitleOrder, built in the
// background).
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

    // The rows read at once after a change; the rest follow in a later turn of the event loop,
    // after the first rows are painted.
    static constexpr int kFirstRows = 512;

    // store must outlive the model.
    explicit LibraryModel(Library::Store &store, QObject *parent = nullptr);

    // Shows the shares that match filter, in the model's present order; filter's own sort is
    // ignored.
    void setFilter(Library::Query filter);
    // Reads the matching ids again (after a change of the library).
    void reload();
    // Reads the shown records again, the rows staying as they are (after link checks).
    void rereadRecords();
    // From now on the rest of the ids and the titles wait for rowsShown() rather than for the
    // next turn of the event loop, which comes before a new window's first paint.
    void deferUntilShown() { m_waitForShown = true; }
    // The view has painted rows: what waits is read in the next turn.
    void rowsShown();

    qint64 idAt(int row) const { return m_ids.at(row); }
    // Every id shown, in order (read whole first when only the first rows are there).
    const QList<qint64> &ids();
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

    // Sorts ids by TitleOrder in m_query's direction, reading the titles when some are missing.
    void sortByTitle(QList<qint64> &ids);
    // The rest of the ids, then (in another turn) the titles, after the first rows are shown.
    void scheduleRest();
    void readRest();
    // Reads every id of the query after the first rows, and adds the rows.
    void completeIds();
    // Shows the ids of m_query that hold m_text.
    void showMatching();
    // Reads every title (folded for the search) and starts the title order on them.
    void loadTitles();
    bool titlesCover(const QList<qint64> &ids) const;
    const QString &foldedTitle(qint64 id) const;

    Library::Store &m_store;
    Library::Query m_query; // every filter but the text
    QString m_text;         // the search text, folded
    bool m_byTitle = false; // sorted by TitleOrder rather than by the query
    QList<qint64> m_queryIds; // what m_query matches, in order
    bool m_complete = false;  // m_queryIds holds every match, not only the first rows
    bool m_waitForShown = false;
    bool m_restWaiting = false; // the rest waits for rowsShown()
    QList<qint64> m_ids;      // what is shown: those of m_queryIds that hold m_text
    std::vector<QString> m_foldedTitles; // by id (SQLite's row ids are dense); null: not read
    mutable QCache<qsizetype, Block> m_blocks;
    QFuture<Library::TitleOrder> m_titleOrder;
};

} // namespace Gui
