#pragma once

#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>

namespace Library {

class Store;

struct TitledId
{
    qint64 id = 0;
    QString title;
};

// Every share's id and title, in no particular order.
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
    QHash<qint64, int> m_rank;
};

// The collation of the window's title column.
QLocale titleLocale();

} // namespace Library
