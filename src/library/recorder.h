#pragma once

#include "library/sharerecord.h"

#include <QString>

#include <functional>
#include <memory>

namespace Library {

class Store;
class StoreWriter;

// Records one run into the library without ever failing it: the first error of the run goes to
// warn (one line), the rest are dropped silently, and the run carries on. With no store it keeps
// nothing and says nothing.
class Recorder
{
public:
    using Warn = std::function<void(const QString &line)>;
    using Work = std::function<QString(Store &)>; // returns SQLite's error text, empty when kept

    enum class Writing {
        InPlace,    // each piece of work is done before the call returns
        Background, // on a thread of its own (StoreWriter), in order, while the run goes on
    };

    // subject: the page number ("3", "0-20") or the keyword.
    Recorder(Store *store, RunKind kind, const QString &subject, Warn warn, Writing writing = Writing::InPlace);
    ~Recorder(); // ends the run as "ended" unless finish() was called
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    void record(const Sighting &sighting);
    // The sighting and the caller's work in one transaction (Store::record), kept before the call
    // returns, as keep's.
    void record(const Sighting &sighting, Work alongside);
    // The caller's work alone, in a transaction, its failure warned of as the run's; kept before
    // the call returns.
    void keep(Work work);
    // Waits until everything given so far is kept (or failed): a crawl calls it before it writes
    // a row out, so a kill costs the library at most the row in flight.
    void settle();
    void finish(const QString &outcome);
    // Whether anything of the run failed to be kept; settles first.
    bool failed();

private:
    void submit(Work work);
    void noteErrors();
    void fail(const QString &error);

    Store *m_store;
    Warn m_warn;
    std::unique_ptr<StoreWriter> m_writer;
    qint64 m_runId = 0; // 0: no run row (no store, or it could not be written); the writer's to touch
    bool m_warned = false;
    bool m_finished = false;
};

// The warning line of a run whose recording failed.
QString recordingWarning(const QString &error);

} // namespace Library
