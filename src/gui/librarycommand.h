#pragma once

#include "gui/librarywindow.h"

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace Gui {

// The main window's 资源库 entry: opens the library window (one at a time, raised when open
// already). Without a library the entry is disabled.
class LibraryCommand : public QObject
{
    Q_OBJECT

public:
    // window and entry outlive the command; setup.store may be null.
    LibraryCommand(QWidget &window, QAction &entry, LibraryWindowSetup setup);

    void open();
    // The open window, or null.
    LibraryWindow *window() const { return m_open; }

private:
    QWidget &m_window;
    LibraryWindowSetup m_setup;
    QPointer<LibraryWindow> m_open;
};

// The file beside the settings file that keeps the windows' sizes and columns.
QString windowStatePath(const QString &settingsPath);

} // namespace Gui
