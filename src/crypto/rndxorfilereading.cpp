#include "crypto/rndxorfilereading.h"

#include "crypto/mtransform.h"
#include "text/gbk.h"

#include <QLatin1StringView>

#include <algorithm>
#include <vector>

namespace Crypto {

namespace {

// Bytes read at a time.
constexpr qint64 kReadChunk = 1 << 20;

// Hands the input's ASCII chunks to takeAscii until a chunk holds another byte; that chunk and
// all after it are gathered into rest. false on a read failure.
template <typename TakeAscii>
bool readAsciiChunks(FileStreams &files, TakeAscii takeAscii, QByteArray &rest)
{
    std::vector<char> chunk(kReadChunk);
    for (qint64 got; (got = files.read(chunk.data(), kReadChunk)) != 0;) {
        if (got < 0)
            return false;
        const QByteArrayView bytes(chunk.data(), got);
        if (rest.isEmpty() && QtPrivate::isAscii(QLatin1StringView(bytes))) {
            takeAscii(bytes);
        } else {
            if (rest.isEmpty())
                rest.reserve(files.inputSize());
            rest += bytes;
        }
    }
    return true;
}

} // namespace

// Bytes below '0' are neither half of a GBK pair: the text of the bytes up to one of them does
// not depend on what follows, so the file is decoded segment by segment, each ending with one.
constexpr char kSegmentEnd = '0';

PlainTextReader::PlainTextReader(FileStreams &files)
    : m_files(files)
    , m_text(qMax<qsizetype>(files.inputSize(), 0) + 1, Qt::Uninitialized)
    , m_units(reinterpret_cast<char16_t *>(m_text.data()))
    , m_capacity(m_text.size())
    , m_thread([this] { read(); })
{
}

PlainTextReader::~PlainTextReader()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

QStringView PlainTextReader::arrived(qsizetype from)
{
    std::unique_lock lock(m_mutex);
    m_progress.wait(lock, [&] { return m_arrived > from || m_done; });
    return QStringView(m_units + from, m_arrived - from);
}

std::optional<PlainText> PlainTextReader::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_error)
        std::rethrow_exception(m_error);
    if (m_failed)
        return std::nullopt;
    m_text.truncate(m_arrived);
    m_text += m_overflow;
    return PlainText{std::move(m_text), m_survivesGbk};
}

void PlainTextReader::read()
{
    try {
        QByteArray pending;
        std::vector<char> chunk(kReadChunk);
        qint64 got = 0;
        while (!m_stop && (got = m_files.read(chunk.data(), kReadChunk)) > 0) {
            const QByteArrayView bytes(chunk.data(), got);
            if (pending.isEmpty() && QtPrivate::isAscii(QLatin1StringView(bytes))) {
                put(bytes.data(), got);
                continue;
            }
            // Only the new bytes can hold the end: pending was cut after its last one.
            const auto last = std::find_if(bytes.crbegin(), bytes.crend(), [](char c) { return uchar(c) < kSegmentEnd; });
            const qsizetype end = pending.size() + (last.base() - bytes.cbegin());
            pending += bytes;
            takeSegment(QByteArrayView(pending).first(end));
            pending.remove(0, end);
        }
        m_failed = got < 0;
        if (!m_stop)
            takeSegment(pending);
    } catch (...) {
        m_error = std::current_exception();
    }
    const std::lock_guard lock(m_mutex);
    m_done = true;
    m_progress.notify_all();
}

void PlainTextReader::takeSegment(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    const QString text = Text::fromGbk(bytes);
    m_survivesGbk = m_survivesGbk && Text::toGbk(text) == bytes;
    put(text.utf16(), text.size());
}

// Units are char16_t, or char for ASCII, which widens as it is.
template <typename Unit>
void PlainTextReader::put(const Unit *units, qsizetype count)
{
    if (!m_overflow.isEmpty() || count > m_capacity - m_arrived) {
        if constexpr (sizeof(Unit) == 1)
            m_overflow += QLatin1StringView(units, count);
        else
            m_overflow += QStringView(units, count);
        return;
    }
    std::copy(units, units + count, m_units + m_arrived);
    const std::lock_guard lock(m_mutex);
    m_arrived += count;
    m_progress.notify_all();
}

std::optional<QString> readCarrierUnits(FileStreams &files)
{
    // Grown without filling: the reader writes every unit it counts.
    QString units;
    units.reserve(files.inputSize() / 4 + 1);
    qsizetype count = 0;
    const auto room = [&](std::size_t characters) {
        units.resize(count + qsizetype(characters + 3) / 4);
        return reinterpret_cast<char16_t *>(units.data()) + count;
    };
    MTransform::Hex2Reader reader;
    const auto readHex = [&](QByteArrayView ascii) {
        count += qsizetype(reader.feed(ascii.data(), std::size_t(ascii.size()), room(std::size_t(ascii.size()))));
    };
    QByteArray rest;
    if (!readAsciiChunks(files, readHex, rest))
        return std::nullopt;
    if (!rest.isEmpty()) {
        const QString text = Text::fromGbk(rest);
        count += qsizetype(reader.feed(text, room(std::size_t(text.size()))));
    }
    count += qsizetype(reader.finish(room(1)));
    units.truncate(count);
    return units;
}

} // namespace Crypto
