#include "crypto/rndxor/unitsreader.h"

#include <algorithm>

namespace Crypto {

UnitsReader::UnitsReader(FileStreams &files, qsizetype capacity, Producer producer)
    : m_files(files)
    , m_text(qMax<qsizetype>(capacity, 0), Qt::Uninitialized)
    , m_units(reinterpret_cast<char16_t *>(m_text.data()))
    , m_capacity(m_text.size())
    , m_thread([this, produce = std::move(producer)] {
        bool read = false;
        try {
            read = produce(m_files, *this);
        } catch (...) {
            m_error = std::current_exception();
        }
        const std::lock_guard lock(m_mutex);
        m_failed = !read;
        m_done = true;
        m_progress.notify_all();
    })
{
}

UnitsReader::~UnitsReader()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::span<char16_t> UnitsReader::arrived(qsizetype seen)
{
    std::unique_lock lock(m_mutex);
    m_progress.wait(lock, [&] { return m_arrived > seen || m_done; });
    return {m_units, std::size_t(m_arrived)};
}

std::optional<QString> UnitsReader::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_error)
        std::rethrow_exception(m_error);
    if (m_failed)
        return std::nullopt;
    m_text.truncate(m_arrived);
    m_text += m_overflow;
    return std::move(m_text);
}

bool UnitsReader::stopping() const
{
    return m_stop;
}

char16_t *UnitsReader::room(qsizetype count)
{
    m_spilling = !m_overflow.isEmpty() || count > m_capacity - m_published;
    if (!m_spilling)
        return m_units + m_published;
    m_spill.resize(std::size_t(count));
    return m_spill.data();
}

void UnitsReader::publish(qsizetype written)
{
    if (m_spilling) {
        m_overflow += QStringView(m_spill.data(), written);
        return;
    }
    m_published += written;
    const std::lock_guard lock(m_mutex);
    m_arrived = m_published;
    m_progress.notify_all();
}

void UnitsReader::put(QStringView units)
{
    std::copy(units.utf16(), units.utf16() + units.size(), room(units.size()));
    publish(units.size());
}

void UnitsReader::putAscii(QByteArrayView bytes)
{
    std::copy(bytes.begin(), bytes.end(), room(bytes.size()));
    publish(bytes.size());
}

} // namespace Crypto
