#include "library/storewriter.h"

#include "library/store.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace Library {

StoreWriter::StoreWriter(const Store &store)
    : m_thread([this, &store] { run(store); })
{
}

StoreWriter::~StoreWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void StoreWriter::submit(Work work)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(work));
    }
    m_wake.notify_one();
}

void StoreWriter::settle()
{
    std::unique_lock lock(m_mutex);
    m_settled.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

QString StoreWriter::takeError()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_error, QString());
}

void StoreWriter::run(const Store &store)
{
    std::unique_lock lock(m_mutex);
    m_busy = true;
    lock.unlock();
    std::unique_ptr<Store> connection = store.anotherConnection();
    lock.lock();
    if (!connection)
        m_error = u"no second connection to the library"_s;
    for (;;) {
        m_busy = false;
        m_settled.notify_all();
        m_wake.wait(lock, [this] { return !m_queue.empty() || m_ending; });
        if (m_queue.empty())
            break;
        Work work = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        const QString error = connection ? work(*connection) : QString();
        lock.lock();
        if (m_error.isEmpty())
            m_error = error;
    }
    lock.unlock();
    connection.reset(); // closed on the thread that made it
}

} // namespace Library
