#include "cli/stopsignals.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <QMetaObject>

#include <cstdlib>
#include <windows.h>
#endif

#include <atomic>

namespace Cli {

namespace {

std::atomic<bool> g_installed{false};

} // namespace

#if defined(Q_OS_UNIX)

// The handler only writes one byte into a pipe (async-signal-safe); a socket notifier reads it
// in the event loop and turns the switch on there.
namespace {

int g_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_received = 0;
// What the second signal writes to stderr before the process ends (setLastWords).
std::atomic<const char *> g_lastWords{nullptr};
std::atomic<std::size_t> g_lastWordsSize{0};

extern "C" void onStopSignal(int)
{
    if (g_received != 0) {
        if (const char *words = g_lastWords.load())
            [[maybe_unused]] const auto written = write(STDERR_FILENO, words, g_lastWordsSize.load());
        _exit(Stopped);
    }
    g_received = 1;
    const char byte = 1;
    [[maybe_unused]] const auto written = write(g_pipe[1], &byte, 1);
}

} // namespace

struct StopSignals::Platform
{
    struct sigaction previousInt {};
    struct sigaction previousTerm {};
    std::unique_ptr<QSocketNotifier> notifier;
};

StopSignals::StopSignals(Crawl::StopSwitch &stop)
{
    if (g_installed.exchange(true))
        return;
    if (pipe(g_pipe) != 0) {
        g_installed = false;
        return;
    }
    for (const int fd : g_pipe)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
    g_received = 0;

    m_platform = std::make_unique<Platform>();
    m_platform->notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_platform->notifier.get(), &QSocketNotifier::activated, &stop, [&stop] {
        char byte = 0;
        [[maybe_unused]] const auto readBytes = read(g_pipe[0], &byte, 1);
        stop.turnOn();
    });

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &m_platform->previousInt);
    sigaction(SIGTERM, &action, &m_platform->previousTerm);
}

void StopSignals::setLastWords(QByteArray words)
{
    m_lastWords = std::move(words);
    g_lastWordsSize = std::size_t(m_lastWords.size());
    g_lastWords = m_lastWords.constData();
}

StopSignals::~StopSignals()
{
    g_lastWords = nullptr;
    if (!m_platform)
        return;
    sigaction(SIGINT, &m_platform->previousInt, nullptr);
    sigaction(SIGTERM, &m_platform->previousTerm, nullptr);
    m_platform->notifier.reset();
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
    g_installed = false;
}

#elif defined(Q_OS_WIN)

// The console handler runs on a thread of its own; a queued call hands the stop to the event
// loop's thread.
namespace {

Crawl::StopSwitch *g_stop = nullptr;
std::atomic<int> g_received{0};

BOOL WINAPI onConsoleEvent(DWORD)
{
    if (g_received.fetch_add(1) > 0)
        std::_Exit(Stopped);
    QMetaObject::invokeMethod(g_stop, &Crawl::StopSwitch::turnOn, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

struct StopSignals::Platform
{
};

StopSignals::StopSignals(Crawl::StopSwitch &stop)
{
    if (g_installed.exchange(true))
        return;
    g_stop = &stop;
    g_received = 0;
    m_platform = std::make_unique<Platform>();
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void StopSignals::setLastWords(QByteArray words)
{
    m_lastWords = std::move(words);
}

StopSignals::~StopSignals()
{
    if (!m_platform)
        return;
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    g_stop = nullptr;
    g_installed = false;
}

#else

struct StopSignals::Platform
{
};

StopSignals::StopSignals(Crawl::StopSwitch &) {}
void StopSignals::setLastWords(QByteArray words)
{
    m_lastWords = std::move(words);
}

StopSignals::~StopSignals() = default;

#endif

} // namespace Cli
