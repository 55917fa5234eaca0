#include "crypto/messagesink.h"

#include <QDebug>

#include <utility>

namespace Crypto {

namespace {
MessageSink &currentSink()
{
    static MessageSink sink;
    return sink;
}
} // namespace

MessageSink setMessageSink(MessageSink sink)
{
    return std::exchange(currentSink(), std::move(sink));
}

void showMessage(const QString &text, MessageSeverity severity)
{
    if (const MessageSink &sink = currentSink())
        sink(text, severity);
    else
        qWarning().noquote() << text;
}

} // namespace Crypto
