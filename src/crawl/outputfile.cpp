#include "crawl/outputfile.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace Crawl {

namespace {

constexpr qint64 kCopyChunk = 1 << 20;

} // namespace

QString OutputFile::open(const QString &path, bool append)
{
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly))
        return m_file->errorString();
    m_startsEmpty = true;
    if (!append)
        return {};

    QFile old(path);
    if (!old.exists())
        return {};
    if (!old.open(QIODevice::ReadOnly))
        return old.errorString();
    m_startsEmpty = old.size() == 0;
    while (!old.atEnd()) {
        const QByteArray chunk = old.read(kCopyChunk);
        if (chunk.isEmpty() || m_file->write(chunk) != chunk.size())
            return old.error() != QFile::NoError ? old.errorString() : m_file->errorString();
    }
    return {};
}

bool OutputFile::write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return m_file && m_file->write(bytes) == bytes.size() && m_file->flush();
}

bool OutputFile::commit()
{
    return m_file && m_file->commit();
}

QString OutputFile::errorString() const
{
    return m_file ? m_file->errorString() : u"not open"_s;
}

} // namespace Crawl
