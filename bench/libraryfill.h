#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace Library {
class Store;
}

namespace Bench {

// The moment a generated library's year of sightings ends unless told otherwise.
QDateTime defaultFillEnd();

// Records count generated shares into store through its public recording calls, in runs of a few
// thousand sightings: titles of Chinese and ASCII words and numbers (5 to 60 characters), file
// counts, share URLs on http://127.0.0.1:1/yunpan/, extraction codes, pages and keywords as
// sources, first and last sightings spread over the year before end, link checks in every
// state. The same seed gives the same library. Returns SQLite's error text, empty on success.
QString fillLibrary(Library::Store &store, int count, quint32 seed, const QDateTime &end = defaultFillEnd());

} // namespace Bench
