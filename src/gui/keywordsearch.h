#pragma once

#include "gui/mainwindowcontrols.h"
#include "gui/messagebox.h"
#include "harvest/harvester.h"

namespace Gui {

// The keyword search of the main window: Command7 checks the keyword in Text1, refusing an
// empty or too short one with a message, and runs the harvester's search; a search that found
// nothing says so.
class KeywordSearch
{
public:
    // Connects the controls. Everything passed must outlive it.
    KeywordSearch(Harvest::Harvester &harvester, const MainWindowControls &controls, const MessageBoxSeam &messageBox);

private:
    void search();

    Harvest::Harvester &m_harvester;
    const MainWindowControls &m_controls;
    const MessageBoxSeam &m_messageBox;
};

} // namespace Gui
