#pragma once

#include "crypto/messagesink.h"

#include <QTextStream>

namespace Cli {

// While alive, prints every message of the cipher library on err, one per line, and remembers
// that one was shown, so that a command can end with exit code 1. Restores the previous sink
// when it goes.
class MessageCapture
{
public:
    explicit MessageCapture(QTextStream &err);
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    // Whether any message reached the sink since construction.
    bool shown() const;

private:
    QTextStream &m_err;
    bool m_shown = false;
    Crypto::MessageSink m_previous;
};

} // namespace Cli
