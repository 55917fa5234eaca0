#include "library/recorder.h"

#include "library/store.h"

using namespace Qt::StringLiterals;

namespace Library {

QString recordingWarning(const QString &error)
{
    return u"the library keeps nothing of this run: "_s + error;
}

Recorder::Recorder(Store *store, RunKind kind, const QString &subject, Warn warn)
    : m_store(store)
    , m_warn(std::move(warn))
{
    if (!m_store)
        return;
    if (m_store->isReadOnly()) {
        fail(u"it is open read-only"_s);
        return;
    }
    if (const QString error = m_store->startRun(kind, subject, m_runId); !error.isEmpty())
        fail(error);
}

Recorder::~Recorder()
{
    if (!m_finished)
        finish(u"ended"_s);
}

void Recorder::record(const Sighting &sighting)
{
    if (m_runId == 0)
        return;
    if (const QString error = m_store->record(m_runId, sighting); !error.isEmpty())
        fail(error);
}

void Recorder::record(const Sighting &sighting, const std::function<QString()> &alongside)
{
    if (m_runId == 0)
        return;
    if (const QString error = m_store->record(m_runId, sighting, alongside); !error.isEmpty())
        fail(error);
}

void Recorder::keep(const std::function<QString()> &work)
{
    if (m_runId == 0)
        return;
    if (const QString error = m_store->inTransaction(work); !error.isEmpty())
        fail(error);
}

void Recorder::finish(const QString &outcome)
{
    m_finished = true;
    if (m_runId == 0)
        return;
    if (const QString error = m_store->endRun(m_runId, outcome); !error.isEmpty())
        fail(error);
}

void Recorder::fail(const QString &error)
{
    if (m_warned)
        return;
    m_warned = true;
    if (m_warn)
        m_warn(recordingWarning(error));
}

} // namespace Library
