#include "library/titleorder.h"

#include "library/store.h"

#include <QCollator>
#include <QSqlQuery>
#include <QtConcurrentRun>

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

using Keys = std::vector<QCollatorSortKey>;

// One collator per call: a collator is not to be shared between threads.
Keys sortKeys(const QList<TitledId> &titles, qsizetype from, qsizetype to, const QLocale &locale)
{
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    Keys keys;
    keys.reserve(static_cast<std::size_t>(to - from));
    for (qsizetype i = from; i < to; ++i)
        keys.push_back(collator.sortKey(titles.at(i).title));
    return keys;
}

} // namespace

QList<TitledId> allTitles(const Store &store)
{
    QList<TitledId> titles;
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT id, title, title_folded FROM shares"_s))
        return titles;
    while (query.next())
        titles.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()});
    return titles;
}

TitleOrder TitleOrder::fromTitles(const QList<TitledId> &titles, const QLocale &locale)
{
    // Sort keys are the costly part: one half on another thread, the other here.
    const qsizetype half = titles.size() / 2;
    QFuture<Keys> firstHalf = QtConcurrent::run(sortKeys, titles, 0, half, locale);
    Keys keys = sortKeys(titles, half, titles.size(), locale);
    Keys first = firstHalf.result();
    keys.insert(keys.begin(), std::make_move_iterator(first.begin()), std::make_move_iterator(first.end()));
    first = {};

    std::vector<int> byTitle(keys.size());
    std::iota(byTitle.begin(), byTitle.end(), 0);
    std::sort(byTitle.begin(), byTitle.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });

    TitleOrder order;
    qint64 largestId = -1;
    for (const TitledId &title : titles)
        largestId = std::max(largestId, title.id);
    order.m_rank.assign(static_cast<std::size_t>(largestId + 1), -1);
    int rank = 0;
    for (std::size_t i = 0; i < byTitle.size(); ++i) {
        if (i > 0 && keys[byTitle[i - 1]].compare(keys[byTitle[i]]) != 0)
            rank = static_cast<int>(i);
        order.m_rank[static_cast<std::size_t>(titles.at(byTitle[i]).id)] = rank;
    }
    return order;
}

int TitleOrder::rankOf(qint64 id) const
{
    return id >= 0 && static_cast<std::size_t>(id) < m_rank.size() ? m_rank[static_cast<std::size_t>(id)] : -1;
}

bool TitleOrder::covers(const QList<qint64> &ids) const
{
    return std::all_of(ids.cbegin(), ids.cend(), [this](qint64 id) { return rankOf(id) >= 0; });
}

void TitleOrder::sort(QList<qint64> &ids, Qt::SortOrder order) const
{
    constexpr int kUnranked = std::numeric_limits<int>::max();
    std::vector<std::pair<int, qint64>> ranked;
    ranked.reserve(static_cast<std::size_t>(ids.size()));
    for (const qint64 id : std::as_const(ids)) {
        const int rank = rankOf(id);
        ranked.emplace_back(rank < 0 ? kUnranked : rank, id);
    }
    if (order == Qt::AscendingOrder)
        std::sort(ranked.begin(), ranked.end());
    else
        std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
            // Unranked ids stay last either way.
            if ((a.first == kUnranked) != (b.first == kUnranked))
                return b.first == kUnranked;
            return a > b;
        });
    for (qsizetype i = 0; i < ids.size(); ++i)
        ids[i] = ranked[static_cast<std::size_t>(i)].second;
}

QLocale titleLocale()
{
    return QLocale(QLocale::Chinese, QLocale::China);
}

} // namespace Library
