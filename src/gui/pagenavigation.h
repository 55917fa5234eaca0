#pragma once

#include "gui/mainwindowcontrols.h"
#include "gui/messagebox.h"

#include <QtGlobal>

#include <functional>

namespace Gui {

// The page controls of the main window: next page (Command2), previous page (Command3), the
// page picker (Slider1 with Label3) and its fetch button (Command8). Each button changes the
// window's current page and then runs the listing harvest of it. The page is a 16-bit number:
// previous page is refused at 0 and next page at 32767.
class PageNavigation
{
public:
    // Connects the controls. currentPage, controls and messageBox must outlive it.
    PageNavigation(qint16 &currentPage, const MainWindowControls &controls, const MessageBoxSeam &messageBox,
                   std::function<void()> harvestCurrentPage);

private:
    void next();
    void previous();
    void pickMoved(int page);
    void fetchPicked();

    qint16 &m_page;
    const MainWindowControls &m_controls;
    const MessageBoxSeam &m_messageBox;
    std::function<void()> m_harvest;
};

} // namespace Gui
