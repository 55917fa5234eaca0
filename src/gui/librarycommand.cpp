#include "gui/librarycommand.h"

#include <QAction>
#include <QFileInfo>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace Gui {

LibraryCommand::LibraryCommand(QWidget &window, QAction &entry, LibraryWindowSetup setup)
    : QObject(&window)
    , m_window(window)
    , m_setup(std::move(setup))
{
    entry.setEnabled(m_setup.store != nullptr);
    connect(&entry, &QAction::triggered, this, &LibraryCommand::open);
}

void LibraryCommand::open()
{
    if (!m_setup.store)
        return;
    if (!m_open) {
        m_open = new LibraryWindow(m_setup, &m_window);
        m_open->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        m_open->refresh();
    }
    m_open->show();
    m_open->raise();
    m_open->activateWindow();
}

QString windowStatePath(const QString &settingsPath)
{
    // Beside vorlen360.ini, not in it: the settings file holds only the settings' rows.
    return QFileInfo(settingsPath).absolutePath() + u"/window-state.ini"_s;
}

} // namespace Gui
