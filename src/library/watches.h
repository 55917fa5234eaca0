#pragma once

#include "library/store.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <chrono>
#include <optional>

// Watches: saved incremental crawls of a keyword or of listing pages, each run when its
// interval has passed since its last run.
namespace Library {

struct Watch
{
    QString name;
    QString keyword;   // when set, the keyword's results; else listing pages firstPage..lastPage
    int firstPage = 0;
    int lastPage = 0;
    std::chrono::seconds every{0};
    bool checkLinks = false;
    QDateTime createdAt;
    QDateTime lastRunAt;         // invalid: never run
    std::optional<int> lastNew;  // shares its last run found new

    // Never run, or its interval has passed since the last run.
    bool isDue(const QDateTime &now) const;
    // "关键字" or "pages 0-2" ("page 3" for one page).
    QString what() const;
};

// Adds the watch, or changes the one of that name (its creation and last run stay). Each
// returns SQLite's error text, empty on success.
QString saveWatch(Store &store, const Watch &watch);
// false (and error empty) when no watch has that name.
QString removeWatch(Store &store, const QString &name, bool &removed);
QString recordWatchRun(Store &store, const QString &name, const QDateTime &at, int newShares);

QList<Watch> watches(const Store &store); // by name
std::optional<Watch> watchNamed(const Store &store, const QString &name);

} // namespace Library
