#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <thread>

#include <sys/stat.h>

// A FIFO that a thread fills with content once a reader opens it: an input whose reported
// size is 0, so it must be read to its end.
class FifoFeed
{
public:
    FifoFeed(const QString &path, QByteArray content)
        : m_made(mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
        , m_writer([path, content = std::move(content), made = m_made] {
            QFile file(path);
            if (made && file.open(QIODevice::WriteOnly))
                file.write(content);
        })
    {
    }
    ~FifoFeed() { m_writer.join(); }
    FifoFeed(const FifoFeed &) = delete;
    FifoFeed &operator=(const FifoFeed &) = delete;

    bool isMade() const { return m_made; }

private:
    bool m_made;
    std::thread m_writer;
};
