#pragma once

#include <QString>

#include <functional>

// Where the cipher classes send the messages they show the user. The GUI installs a sink that
// shows a message box under the application's title, the CLI one that prints, tests one that
// records. Without a sink the message goes to qWarning().
namespace Crypto {

enum class MessageIcon { None, Critical, Warning };

using MessageSink = std::function<void(const QString &text, MessageIcon icon)>;

// Replaces the sink for the whole process; returns the previous one.
MessageSink setMessageSink(MessageSink sink);

// Hands one message to the current sink.
void showMessage(const QString &text, MessageIcon icon = MessageIcon::None);

} // namespace Crypto
