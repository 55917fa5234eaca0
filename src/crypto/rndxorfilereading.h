#pragma once

#include "crypto/filestreams.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

// The inputs of the random-XOR file forms, read in chunks. ASCII, the common case, is taken as
// it comes: GBK's bytes 0x00..0x7F are ASCII and leave its decoder in its first state.
namespace Crypto {

struct PlainText
{
    QString text;
    // Whether the bytes come back unchanged from GBK to text to GBK.
    bool survivesGbk = true;
};

// The plain file's GBK text, read and decoded on a thread of its own while the caller works
// through what has arrived: the first pass of the plaintext check needs the text in order and
// nothing else, and decoding would otherwise come before it.
class PlainTextReader
{
public:
    // Starts reading; files must outlive the reader.
    explicit PlainTextReader(FileStreams &files);
    // Stops the reading at the next chunk and waits for it.
    ~PlainTextReader();
    PlainTextReader(const PlainTextReader &) = delete;
    PlainTextReader &operator=(const PlainTextReader &) = delete;

    // The units from `from` on that have arrived, waiting until there are some; empty when no
    // more come this way (what finish() holds beyond is the rest).
    QStringView arrived(qsizetype from);

    // Waits for the end: the whole text, or nullopt when the file could not be read.
    std::optional<PlainText> finish();

private:
    void read();
    template <typename Unit>
    void put(const Unit *units, qsizetype count);
    void takeSegment(QByteArrayView bytes);

    FileStreams &m_files;
    QString m_text;           // its first m_capacity units are filled in place as they arrive
    char16_t *m_units;
    qsizetype m_capacity;
    QString m_overflow;       // what did not fit, from then on
    bool m_survivesGbk = true;
    bool m_failed = false;
    std::exception_ptr m_error;

    std::mutex m_mutex;
    std::condition_variable m_progress;
    qsizetype m_arrived = 0;  // guarded by m_mutex, as is m_done
    bool m_done = false;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

// The code units of the cipher file's carrier form (MTransform::HEX_to_STR2 of its GBK text);
// nullopt when it cannot be read.
std::optional<QString> readCarrierUnits(FileStreams &files);

} // namespace Crypto
