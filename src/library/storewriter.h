#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace Library {

class Store;

// A thread of its own that writes to the library through its own connection, one piece of work
// after the other in the order given, so that a crawl goes on while its rows are committed.
class StoreWriter
{
public:
    using Work = std::function<QString(Store &)>; // returns SQLite's error text, empty when kept

    // Connects to the library of store on the new thread (Store::anotherConnection); store
    // must outlive the writer.
    explicit StoreWriter(const Store &store);
    ~StoreWriter(); // does the work given, then ends the thread
    StoreWriter(const StoreWriter &) = delete;
    StoreWriter &operator=(const StoreWriter &) = delete;

    void submit(Work work);
    // Waits until all work given so far is done.
    void settle();
    // The first error since the last call, or empty text.
    QString takeError();

private:
    void run(const Store &store);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_settled;
    std::deque<Work> m_queue;
    bool m_busy = false;
    bool m_ending = false;
    QString m_error;
    std::thread m_thread;
};

} // namespace Library
