#pragma once

#include "gui/browser.h"
#include "gui/mainwindowcontrols.h"
#include "gui/messagebox.h"
#include "config/endpoints.h"
#include "net/versionfile.h"

#include <functional>

namespace Gui {

// Ends the program at once; tests record the call instead.
using ProgramEndSeam = std::function<void()>;

// A seam that ends the application's event loops with exit code 0.
ProgramEndSeam applicationExit();

// The start-up check of the software server's version file, presented in the main window:
// the current version unlocks the keyword box, the search and the page buttons; another one
// is announced, the forum opened and the program ended; an unreadable file is warned about
// and the controls stay locked. The endpoints are read when the check runs.
class UpdateCheck
{
public:
    // Everything passed must outlive the check.
    UpdateCheck(const Config::Endpoints &endpoints, const MainWindowControls &controls, const QWidget &window,
                const MessageBoxSeam &messageBox, const BrowserSeam &openUrl, ProgramEndSeam endProgram);

    // Fetches the version file, presents the verdict and returns it. The fetch processes
    // events, so the window works meanwhile; once it has been closed nothing more is presented.
    Net::VersionStatus run();

private:
    const Config::Endpoints &m_endpoints;
    const MainWindowControls &m_controls;
    const QWidget &m_window;
    const MessageBoxSeam &m_messageBox;
    const BrowserSeam &m_openUrl;
    ProgramEndSeam m_endProgram;
};

} // namespace Gui
