#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO that a thread fills with content once a reader opens it: an input whose reported
// size is 0, so it must be read to its end. A reader that never comes does not hold up the
// destructor, so a program that ignores the FIFO fails its test instead of hanging it.
class FifoFeed
{
public:
    FifoFeed(const QString &path, QByteArray content)
        : m_made(mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
        , m_writer([this, name = QFile::encodeName(path), content = std::move(content)] { feed(name, content); })
    {
    }
    ~FifoFeed()
    {
        m_done = true;
        m_writer.join();
    }
    FifoFeed(const FifoFeed &) = delete;
    FifoFeed &operator=(const FifoFeed &) = delete;

    bool isMade() const { return m_made; }

private:
    void feed(const QByteArray &name, const QByteArray &content)
    {
        // Without a reader a non-blocking open fails, so the wait can watch for the end.
        int fd = -1;
        while (m_made && !m_done && (fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK)) < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (fd < 0)
            return;
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        for (qsizetype done = 0; done < content.size();) {
            const ssize_t wrote = ::write(fd, content.constData() + done, std::size_t(content.size() - done));
            if (wrote <= 0)
                break;
            done += wrote;
        }
        ::close(fd);
    }

    const bool m_made;
    std::atomic<bool> m_done{false};
    std::thread m_writer;
};
