#pragma once

#include "harvest/harvester.h"
#include "harvest/resultlist.h"
#include "gui/accountcommands.h"
#include "gui/browser.h"
#include "gui/clock.h"
#include "gui/form1controls.h"
#include "gui/messagebox.h"
#include "net/endpoints.h"

#include <QWidget>

namespace Gui {

// What the main window takes from outside; empty functions mean the real thing.
struct Form1Setup
{
    Net::Endpoints endpoints;
    MessageBoxSeam messageBox; // default: modal message boxes over the window
    TimeSource now;            // default: QTime::currentTime
    BrowserSeam openUrl;       // default: the desktop's browser
};

// The main window: the result list, the harvest, search and page controls, the status bar
// with its clock. Its layout is fixed. Closing it ends the program, also in the middle of a
// harvest, so it must live until the application's event loop has returned (on main()'s stack).
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(Form1Setup setup, QWidget *parent = nullptr);

    // Shows the window centred on its screen.
    void start();

    Harvest::ResultList &resultList() { return m_list; }
    qint16 currentPage() const { return m_currentPage; }
    AccountCommands &accountCommands() { return m_account; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void connectHarvester();
    void harvestCurrentPage();
    void onHarvestFinished(const Harvest::HarvestResult &result);
    void showProgramMenu(const QPoint &position);
    void tickClock();

    Harvest::ResultList m_list;
    Harvest::Harvester m_harvester;
    MessageBoxSeam m_messageBox;
    TimeSource m_now;
    BrowserSeam m_openUrl;
    Form1Controls m_ui;
    AccountCommands m_account;
    qint16 m_currentPage = 0;
};

} // namespace Gui
