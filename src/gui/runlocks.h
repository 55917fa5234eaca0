#pragma once

#include "gui/mainwindowcontrols.h"
#include "harvest/harvester.h"

namespace Gui {

// Which buttons of the main window a harvest or search locks while it runs. Every run locks
// search and export; a search also locks the page buttons. When the newest run ends, search
// comes back, export too after rows or after any search, and the page buttons when a search had
// locked them, also when a listing harvest superseded that search. A superseded run changes
// nothing.
class RunLocks
{
public:
    // Connects to harvester; the controls must outlive it. Make it before anything else that
    // follows the harvester's end of a run, so the buttons are back when that runs.
    RunLocks(Harvest::Harvester &harvester, const MainWindowControls &controls);

private:
    void lock(Harvest::RunKind kind);
    void release(const Harvest::HarvestResult &result);
    void setPagingEnabled(bool enabled);

    const MainWindowControls &m_controls;
    bool m_pagingLocked = false;
};

} // namespace Gui
