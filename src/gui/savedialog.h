#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace Gui {

// Asking for a file to write goes through one replaceable function object, so tests answer it
// instead of blocking on a modal dialog. It returns the chosen path, or empty text on cancel.
using SaveFileSeam = std::function<QString(const QString &title, const QString &filter, const QString &proposedFile)>;

// The toolkit's save dialog over parent. It adds no suffix to a typed name and asks nothing
// when an existing file is chosen: the export appends.
SaveFileSeam saveFileDialog(QWidget *parent);

} // namespace Gui
