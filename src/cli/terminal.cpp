#include "cli/terminal.h"

#include <QFile>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace Cli {

namespace {

int handleOf(QTextStream &stream)
{
    const auto *file = qobject_cast<QFile *>(stream.device());
    return file ? file->handle() : -1;
}

// Turns the echo of a terminal off for its lifetime; does nothing for anything else.
class EchoOff
{
public:
    explicit EchoOff(int handle)
    {
#if defined(Q_OS_WIN)
        m_console = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
        m_changed = GetConsoleMode(m_console, &m_saved) && SetConsoleMode(m_console, m_saved & ~ENABLE_ECHO_INPUT);
#else
        m_handle = handle;
        m_changed = tcgetattr(handle, &m_saved) == 0;
        termios quiet = m_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        m_changed = m_changed && tcsetattr(handle, TCSAFLUSH, &quiet) == 0;
#endif
    }
    ~EchoOff()
    {
        if (!m_changed)
            return;
#if defined(Q_OS_WIN)
        SetConsoleMode(m_console, m_saved);
#else
        tcsetattr(m_handle, TCSAFLUSH, &m_saved);
#endif
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    bool m_changed = false;
#if defined(Q_OS_WIN)
    HANDLE m_console = nullptr;
    DWORD m_saved = 0;
#else
    int m_handle = -1;
    termios m_saved{};
#endif
};

} // namespace

bool isTerminal(QTextStream &stream)
{
    const int handle = handleOf(stream);
    if (handle < 0)
        return false;
#if defined(Q_OS_WIN)
    return _isatty(handle) != 0;
#else
    return isatty(handle) != 0;
#endif
}

QString readUnechoedLine(QTextStream &in, QTextStream &err, const QString &prompt, qint64 maxLength)
{
    err << prompt;
    err.flush();
    QString line;
    {
        const EchoOff echoOff(handleOf(in));
        line = in.readLine(maxLength);
    }
    err << '\n'; // the line end typed was not shown
    err.flush();
    return line;
}

} // namespace Cli
