#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the windows goes through one replaceable function object, so tests can
// record messages instead of blocking on a modal dialog.
namespace Gui {

enum class MessageIcon { Information, Warning, Critical, None };

using MessageBoxSeam = std::function<void(const QString &text, MessageIcon icon, const QString &title)>;

// A question with Yes and No; true for Yes.
using QuestionSeam = std::function<bool(const QString &text, const QString &title)>;

// The title of the program's own message boxes.
QString messageTitle();

// A seam that shows a modal message box with an OK button over parent and waits for it. The
// text is shown as plain text.
MessageBoxSeam modalMessageBox(QWidget *parent);

// A seam that asks a modal Yes/No question (plain text) over parent; No is the default.
QuestionSeam modalQuestion(QWidget *parent);

// Installs the cipher classes' message sink: their messages go to messageBox (by default a modal
// box standing alone) under the product title.
void installCipherMessageSink(MessageBoxSeam messageBox = modalMessageBox(nullptr));

} // namespace Gui
