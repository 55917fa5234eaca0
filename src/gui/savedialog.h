#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace Gui {

// Asking for a file to write goes through one replaceable function object, so tests answer it
// instead of blocking on a modal dialog. It returns the chosen path, or empty text on cancel.
using SaveFileSeam = std::function<QString(const QString &title, const QString &filter, const QString &proposedFile)>;

enum class Overwrite {
    Silently, // the main window's export appends, so an existing file needs no question
    Ask,      // the dialog asks before an existing file is chosen
};

// The toolkit's save dialog over parent. It adds no suffix to a typed name.
SaveFileSeam saveFileDialog(QWidget *parent, Overwrite overwrite = Overwrite::Silently);

} // namespace Gui
