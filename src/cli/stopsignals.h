#pragma once

#include "cli/exitcodes.h"
#include "crawl/stopswitch.h"

#include <QByteArray>

#include <memory>

namespace Cli {

// While alive, Ctrl-C (SIGINT) and SIGTERM, or the console's break events on Windows, turn the
// stop switch on through the event loop; a second one ends the process at once with exit code
// 130. Only one may be alive at a time; a second one does nothing. The previous handlers come
// back when it goes.
class StopSignals
{
public:
    explicit StopSignals(Crawl::StopSwitch &stop);
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    // What a second signal writes to stderr before the process ends (on Unix; the text is kept
    // here, so it must be set from the thread that made this).
    void setLastWords(QByteArray words);

private:
    QByteArray m_lastWords;
    struct Platform;
    std::unique_ptr<Platform> m_platform;
};

} // namespace Cli
