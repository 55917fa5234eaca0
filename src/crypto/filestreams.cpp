#include "crypto/filestreams.h"

namespace Crypto {

qint64 readFull(QIODevice &device, char *data, qint64 count)
{
    qint64 total = 0;
    while (total < count) {
        const qint64 got = device.read(data + total, count - total);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

FileStreams::FileStreams(const QString &input, const QString &output)
    : m_input(input), m_output(output)
{
}

bool FileStreams::open()
{
    if (!m_input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(m_input);
    if (!m_output.open(QIODevice::WriteOnly))
        return fail(m_output);
    return true;
}

qint64 FileStreams::read(char *data, qint64 count)
{
    const qint64 got = readFull(m_input, data, count);
    if (got < 0)
        fail(m_input);
    return got;
}

bool FileStreams::readAll(QByteArray &bytes)
{
    bytes = m_input.readAll();
    return m_input.error() == QFileDevice::NoError || fail(m_input);
}

bool FileStreams::write(const char *data, qint64 count)
{
    return m_output.write(data, count) == count || fail(m_output);
}

bool FileStreams::restart()
{
    return (m_output.seek(0) && m_output.resize(0)) || fail(m_output);
}

bool FileStreams::commit()
{
    if (!m_output.commit())
        return fail(m_output);
    m_outcome = FileOutcome::success();
    return true;
}

FileOutcome FileStreams::outcome() const
{
    return m_outcome;
}

bool FileStreams::fail(const QFileDevice &file)
{
    if (m_outcome.file.isEmpty())
        m_outcome = FileOutcome::failure(file.fileName(), file.errorString());
    return false;
}

} // namespace Crypto
