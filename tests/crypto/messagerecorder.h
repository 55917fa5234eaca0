#pragma once

#include "crypto/messagesink.h"

#include <QStringList>

// Records the cipher library's messages while it lives, instead of showing them.
class MessageRecorder
{
public:
    MessageRecorder()
        : m_previous(Crypto::setMessageSink([this](const QString &text, Crypto::MessageIcon) { texts.append(text); }))
    {
    }
    ~MessageRecorder() { Crypto::setMessageSink(std::move(m_previous)); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QStringList texts;

private:
    Crypto::MessageSink m_previous;
};
