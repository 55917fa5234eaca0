#pragma once

#include "harvest/harvester.h"
#include "harvest/resultlist.h"
#include "gui/accountcommands.h"
#include "gui/browser.h"
#include "gui/clock.h"
#include "gui/exportcommand.h"
#include "gui/mainwindowcontrols.h"
#include "gui/keywordsearch.h"
#include "gui/librarycommand.h"
#include "gui/librarymarks.h"
#include "gui/messagebox.h"
#include "gui/rowactions.h"
#include "gui/runlocks.h"
#include "gui/savedialog.h"
#include "gui/settingscommand.h"
#include "gui/pagenavigation.h"
#include "gui/updatecheck.h"
#include "config/endpoints.h"
#include "library/harvestrecording.h"

#include <QWidget>

namespace Gui {

// What the main window takes from outside; empty functions mean the real thing.
struct MainWindowSetup
{
    Config::Endpoints endpoints;
    Config::Provenance settings; // default: Config::defaultSettingsPath(), nothing from an option
                                 // or variable
    MessageBoxSeam messageBox; // default: modal message boxes over the window; a login window's
                               // stand over the login window
    TimeSource now;            // default: QTime::currentTime
    BrowserSeam openUrl;       // default: the desktop's browser
    SaveFileSeam saveFile;     // default: the toolkit's save dialog
    ProgramEndSeam endProgram; // default: QCoreApplication::exit(0)
    QString profileWarning;    // why the site profile file was refused; shown once the window is up
    Library::Store *library = nullptr; // the resource library, outliving the window; null: none
    QString libraryNotice;     // what opening the library came to, shown once the window is up
    QString libraryError;      // why there is no library, shown once the window is up
};

// The main window: the result list, the harvest, search and page controls, the status bar
// with its clock. Its layout is fixed. Closing it ends the program, also in the middle of a
// harvest, so it must live until the application's event loop has returned (on main()'s stack).
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowSetup setup, QWidget *parent = nullptr);

    // Shows the window centred on its screen, then checks the version file once the event loop
    // runs.
    void start();

    Harvest::ResultList &resultList() { return m_list; }
    qint16 currentPage() const { return m_currentPage; }
    AccountCommands &accountCommands() { return m_account; }
    SettingsCommand &settingsCommand() { return m_settings; }
    LibraryCommand &libraryCommand() { return m_library; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void connectHarvester();
    void harvestCurrentPage();
    void onHarvestFinished(const Harvest::HarvestResult &result);
    void showProgramMenu(const QPoint &position);
    void tickClock();
    void showStartMessages();

    Config::Endpoints m_endpoints; // what the helpers read at each request; the settings change it
    Harvest::ResultList m_list;
    Harvest::Harvester m_harvester;
    LibraryMarks m_marks; // what the list view shows: the list with the library's marks
    MessageBoxSeam m_messageBox;
    TimeSource m_now;
    BrowserSeam m_openUrl;
    MainWindowControls m_ui;
    RunLocks m_runLocks; // first to follow the harvester, so buttons are back for the others
    RowActions m_rowActions;
    ExportCommand m_export;
    AccountCommands m_account;
    qint16 m_currentPage = 0;
    UpdateCheck m_updateCheck;
    PageNavigation m_navigation;
    KeywordSearch m_search;
    QString m_profileWarning;
    QString m_libraryNotice;
    QString m_libraryError;
    SettingsCommand m_settings;
    LibraryCommand m_library;
    Library::HarvestRecording m_recording; // after the marks: a row is looked up before it is recorded
};

} // namespace Gui
