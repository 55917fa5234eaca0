#pragma once

#include "crypto/io/filestreams.h"

#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace Crypto {

// UTF-16 code units made from an input file on a thread of its own, for a caller that works
// through them in order as they arrive: the check values of the random-XOR cipher need
// nothing else, and reading and decoding would otherwise come before them. Units are written
// in place into room reserved at the start, so what has arrived never moves; what does not fit
// there (a FIFO has no size to reserve by) comes with finish().
class UnitsReader
{
public:
    // Runs on the reader's thread: reads files to its end, handing the units over with room()
    // and publish() or put(); false when the file could not be read.
    using Producer = std::function<bool(FileStreams &files, UnitsReader &reader)>;

    UnitsReader(FileStreams &files, qsizetype capacity, Producer producer);
    // Asks the producer to stop and waits for it.
    ~UnitsReader();
    UnitsReader(const UnitsReader &) = delete;
    UnitsReader &operator=(const UnitsReader &) = delete;

    // All units that have arrived, once there are more than `seen` or no more will come this
    // way. The caller may change them in place.
    std::span<char16_t> arrived(qsizetype seen);

    // Waits for the end: every unit, those that arrived first as the caller left them; nullopt
    // when the file could not be read (the files tell why).
    std::optional<QString> finish();

    // For the producer: whether to stop early; room for count units, of which publish() hands
    // over the first `written`; put() and putAscii() copy units in (ASCII widens as it is).
    bool stopping() const;
    char16_t *room(qsizetype count);
    void publish(qsizetype written);
    void put(QStringView units);
    void putAscii(QByteArrayView bytes);

private:
    FileStreams &m_files;
    QString m_text; // its first m_capacity units are filled in place
    char16_t *m_units;
    qsizetype m_capacity;
    qsizetype m_published = 0; // the producer's count of units placed in m_text
    bool m_spilling = false;   // whether the last room() was outside m_text
    std::vector<char16_t> m_spill;
    QString m_overflow;
    std::exception_ptr m_error;

    std::mutex m_mutex;
    std::condition_variable m_progress;
    qsizetype m_arrived = 0; // guarded by m_mutex, as are the two below
    bool m_done = false;
    bool m_failed = false;
    std::atomic<bool> m_stop = false;
    std::thread m_thread; // last: it uses everything above
};

} // namespace Crypto
