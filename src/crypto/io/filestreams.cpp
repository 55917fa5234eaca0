#include "crypto/io/filestreams.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

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
    : m_input(input), m_outputName(output)
{
}

FileStreams::~FileStreams()
{
    if (!m_outcome.written && !m_partName.isEmpty())
        QFile::remove(m_partName);
}

bool FileStreams::open()
{
    if (!m_input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(m_input.fileName(), m_input.errorString());
    const QFileInfo target(m_outputName);
    if (target.isDir())
        return fail(m_outputName, QString::fromLocal8Bit(std::strerror(EISDIR)));
    if (target.exists() && !target.isWritable())
        return fail(m_outputName, QString::fromLocal8Bit(std::strerror(EACCES)));
    return openPart();
}

// Created like any new file (mode 0666 under the umask); an existing output's mode carries over.
bool FileStreams::openPart()
{
    const QFileInfo target(m_outputName);
    const QString stem = target.absolutePath() + u"/."_s + target.fileName() + u'.'
        + QString::number(QCoreApplication::applicationPid()) + u'-';
    for (int attempt = 0;; ++attempt) {
        const QString name = stem + QString::number(attempt);
        const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST && attempt < 100)
            continue;
        if (fd < 0)
            return fail(m_outputName, QString::fromLocal8Bit(std::strerror(errno)));
        m_partName = name;
        if (!m_part.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return fail(m_outputName, m_part.errorString());
        }
        if (target.exists())
            m_part.setPermissions(target.permissions());
        return true;
    }
}

qint64 FileStreams::read(char *data, qint64 count)
{
    const qint64 got = readFull(m_input, data, count);
    if (got < 0)
        fail(m_input.fileName(), m_input.errorString());
    return got;
}

qint64 FileStreams::inputSize() const
{
    return m_input.size();
}

bool FileStreams::write(const char *data, qint64 count)
{
    return m_part.write(data, count) == count || fail(m_outputName, m_part.errorString());
}

bool FileStreams::restart()
{
    return (m_part.seek(0) && m_part.resize(0)) || fail(m_outputName, m_part.errorString());
}

bool FileStreams::commit()
{
    if (!m_part.flush())
        return fail(m_outputName, m_part.errorString());
    m_part.close();
    if (std::rename(QFile::encodeName(m_partName).constData(), QFile::encodeName(m_outputName).constData()) != 0)
        return fail(m_outputName, QString::fromLocal8Bit(std::strerror(errno)));
    m_outcome = FileOutcome::success();
    return true;
}

FileOutcome FileStreams::outcome() const
{
    return m_outcome;
}

bool FileStreams::fail(const QString &file, const QString &reason)
{
    if (m_outcome.file.isEmpty())
        m_outcome = FileOutcome::failure(file, reason);
    return false;
}

} // namespace Crypto
