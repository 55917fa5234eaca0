#pragma once

#include <QString>

#include <functional>

// Where the cipher classes send the messages they show the user. The GUI installs a sink that
// shows a message box under the application's title, the CLI one that prints, tests one that
// records. Without a sink the message goes to qWarning().
namespace Crypto {

enum class MessageSeverity { None, Critical, Warning };

using MessageSink = std::function<void(const QString &text, MessageSeverity severity)>;

// Replaces the sink for the whole process; returns the previous one.
MessageSink setMessageSink(MessageSink sink);

// Hands one message to the current sink.
void showMessage(const QString &text, MessageSeverity severity = MessageSeverity::None);

} // namespace Crypto
