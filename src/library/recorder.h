#pragma once

#include "library/sharerecord.h"

#include <QString>

#include <functional>

namespace Library {

class Store;

// Records one run into the library without ever failing it: the first error of the run goes to
// warn (one line), the rest are dropped silently, and the run carries on. With no store it keeps
// nothing and says nothing.
class Recorder
{
public:
    using Warn = std::function<void(const QString &line)>;

    // subject: the page number ("3", "0-20") or the keyword.
    Recorder(Store *store, RunKind kind, const QString &subject, Warn warn);
    ~Recorder(); // ends the run as "ended" unless finish() was called
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    void record(const Sighting &sighting);
    // The sighting and the caller's work in one transaction (Store::record).
    void record(const Sighting &sighting, const std::function<QString()> &alongside);
    // The caller's work alone, in a transaction, its failure warned of as the run's.
    void keep(const std::function<QString()> &work);
    void finish(const QString &outcome);
    // Whether anything of the run failed to be kept.
    bool failed() const { return m_warned; }

private:
    void fail(const QString &error);

    Store *m_store;
    Warn m_warn;
    qint64 m_runId = 0; // 0: no run row (no store, or it could not be written)
    bool m_warned = false;
    bool m_finished = false;
};

// The warning line of a run whose recording failed.
QString recordingWarning(const QString &error);

} // namespace Library
