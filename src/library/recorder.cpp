#include "library/recorder.h"

#include "library/store.h"
#include "library/storewriter.h"

using namespace Qt::StringLiterals;

namespace Library {

QString recordingWarning(const QString &error)
{
    return u"the library keeps nothing of this run: "_s + error;
}

Recorder::Recorder(Store *store, RunKind kind, const QString &subject, Warn warn, Writing writing)
    : m_store(store)
    , m_warn(std::move(warn))
{
    if (!m_store)
        return;
    if (m_store->isReadOnly()) {
        fail(u"it is open read-only"_s);
        m_store = nullptr;
        return;
    }
    if (writing == Writing::Background)
        m_writer = std::make_unique<StoreWriter>(*m_store);
    submit([this, kind, subject](Store &kept) { return kept.startRun(kind, subject, m_runId); });
}

Recorder::~Recorder()
{
    if (!m_finished)
        finish(u"ended"_s);
}

void Recorder::record(const Sighting &sighting)
{
    submit([this, sighting](Store &store) { return m_runId == 0 ? QString() : store.record(m_runId, sighting); });
}

void Recorder::record(const Sighting &sighting, Work alongside)
{
    submit([this, sighting, alongside = std::move(alongside)](Store &store) {
        return m_runId == 0 ? QString() : store.record(m_runId, sighting, [&] { return alongside(store); });
    });
    // The caller's state goes with the row (a job's entry done): kept before the crawl asks for
    // the next page, so a kill makes the next run ask again only what was in flight.
    settle();
}

void Recorder::keep(Work work)
{
    submit([this, work = std::move(work)](Store &store) {
        return m_runId == 0 ? QString() : store.inTransaction([&] { return work(store); });
    });
    // A job's state between rows (a page's entries, its end) is kept before the crawl goes on,
    // so a kill never makes the next run ask a page again.
    settle();
}

void Recorder::settle()
{
    if (m_writer) {
        m_writer->settle();
        noteErrors();
    }
}

void Recorder::finish(const QString &outcome)
{
    m_finished = true;
    submit([this, outcome](Store &store) {
        if (m_runId == 0)
            return QString();
        const QString error = store.endRun(m_runId, outcome);
        return error.isEmpty() ? store.indexPendingTitles() : error;
    });
    settle();
    m_writer.reset();
    m_store = nullptr;
}

bool Recorder::failed()
{
    settle();
    return m_warned;
}

void Recorder::submit(Work work)
{
    if (!m_store)
        return;
    if (!m_writer) {
        fail(work(*m_store));
        return;
    }
    noteErrors();
    m_writer->submit(std::move(work));
}

void Recorder::noteErrors()
{
    if (m_writer)
        fail(m_writer->takeError());
}

void Recorder::fail(const QString &error)
{
    if (error.isEmpty() || m_warned)
        return;
    m_warned = true;
    if (m_warn)
        m_warn(recordingWarning(error));
}

} // namespace Library
