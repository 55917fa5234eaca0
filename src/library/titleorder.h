#pragma once

#include <QList>
#include <QLocale>
#include <QString>

#include <vector>

namespace Library {

class Store;

struct TitledId
{
    qint64 id = 0;
    QString title;
    QString folded; // as searches compare it (searchableTitle), kept in the file
};

// Every share's id, title and folded title, in no particular order.
QList<TitledId> allTitles(const Store &store);

// The shares' titles in the order of a language's collation (numbers inside titles by value:
// "第2集" before "第10集"). The sort keys are computed once, on every core, and kept only as
// each share's rank, so sorting any list of ids afterwards is a sort of integers.
class TitleOrder
{
public:
    TitleOrder() = default;
    // Safe to run on any thread.
    static TitleOrder fromTitles(const QList<TitledId> &titles, const QLocale &locale);

    // Whether every id has a rank (a share recorded after the build has none).
    bool covers(const QList<qint64> &ids) const;
    // Sorts ids by title, equal titles by id, both in order; ids without a rank come last.
    void sort(QList<qint64> &ids, Qt::SortOrder order) const;

private:
    int rankOf(qint64 id) const;

    std::vector<int> m_rank; // by id (SQLite's row ids are dense); -1: no rank
};

// The collation of the window's title column.
QLocale titleLocale();

} // namespace Library
