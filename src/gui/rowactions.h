#pragma once

#include "config/endpoints.h"
#include "gui/browser.h"
#include "gui/messagebox.h"

#include <QObject>

class QTreeView;

namespace Harvest {
class ResultList;
}

namespace Gui {

class StatusBar;
struct MainWindowControls;

// The actions on the selected row of the result list: copy the share link with its extraction
// code (menu entry fz), copy the extraction code alone (fzzym, or a double click anywhere on
// the list), open the share in the browser (dk), hide the row (F6, whatever the modifiers; a
// held key hides one row and leaves no row selected). A row counts once its share code has
// been read; before that an action only says so. The share prefix is read at each action.
class RowActions : public QObject
{
    Q_OBJECT

public:
    // endpoints must outlive the actions.
    RowActions(const MainWindowControls &controls, Harvest::ResultList &list, const Config::Endpoints &endpoints,
               MessageBoxSeam messageBox, BrowserSeam openUrl);

    void copyShare();
    void copyCode();
    void openShare();
    void hideRow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The selected row when its share code has been read; otherwise shows refusal and gives -1.
    int fetchedSelectedRow(const QString &refusal) const;
    void report(const QString &status) const;

    QTreeView &m_view;
    StatusBar &m_statusBar;
    Harvest::ResultList &m_list;
    const Config::Endpoints &m_endpoints;
    MessageBoxSeam m_messageBox;
    BrowserSeam m_openUrl;
};

} // namespace Gui
