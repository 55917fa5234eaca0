#pragma once

#include "crypto/messagesink.h"

#include <QList>
#include <QStringList>

// Records the cipher library's messages while it lives, instead of showing them.
class MessageRecorder
{
public:
    MessageRecorder()
        : m_previous(Crypto::setMessageSink([this](const QString &text, Crypto::MessageSeverity icon) {
              texts.append(text);
              icons.append(icon);
          }))
    {
    }
    ~MessageRecorder() { Crypto::setMessageSink(std::move(m_previous)); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    void clear()
    {
        texts.clear();
        icons.clear();
    }

    QStringList texts;
    QList<Crypto::MessageSeverity> icons;

private:
    Crypto::MessageSink m_previous;
};
