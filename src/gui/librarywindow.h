#pragma once

#include "config/endpoints.h"
#include "gui/browser.h"
#include "gui/librarymodel.h"
#include "gui/messagebox.h"
#include "gui/savedialog.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTableView;

namespace Library {
class Store;
}

namespace Gui {

class LibraryBatch;

struct LibraryWindowSetup
{
    Library::Store *store = nullptr; // required; outlives the window
    QString defaultTemplate;         // the copy template until the user changes it
    QString statePath;               // the file that keeps geometry, column widths, sort and template
    MessageBoxSeam messageBox;       // default: modal boxes over the window
    QuestionSeam ask;                // default: a modal question over the window
    BrowserSeam openUrl;             // default: the desktop's browser
    SaveFileSeam saveFile;           // default: the save dialog, asking before it overwrites
    const Config::Endpoints *endpoints = nullptr; // outlives the window, read at each link check; null: none
};

// 资源库: every share of the library in a table with a search box and filters (link state,
// first seen, source: a page, a keyword or a watch of the library, hidden ones), sortable by any column, with batch work on the selected
// rows (LibraryBatch) and the link-check history of the current row beside the table. A close
// while links are checked stops the check and closes the window once it has ended.
class LibraryWindow : public QWidget
{
    Q_OBJECT

public:
    // How long the search box waits after the last key before it asks the library.
    static constexpr int kSearchDelayMs = 200;

    explicit LibraryWindow(LibraryWindowSetup setup, QWidget *parent = nullptr);
    ~LibraryWindow() override;

    LibraryModel &model() { return m_model; }
    QTableView &view() { return *m_view; }
    // The filters as they stand.
    Library::Query filter() const;
    // Reads the library again, keeping filters and sort (after a harvest recorded shares).
    void refresh();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createFilterRow();
    QWidget *createTemplateRow();
    void applyFilter();
    void showCurrentHistory();
    void checkTemplate();
    void restoreState();
    void saveState() const;

    Library::Store &m_store;
    QString m_statePath;
    QString m_defaultTemplate;
    LibraryModel m_model;
    QTimer m_searchDelay;
    QLineEdit *m_search = nullptr;
    QMenu *m_stateMenu = nullptr;
    QDateEdit *m_since = nullptr;
    QComboBox *m_source = nullptr;
    QLineEdit *m_sourceValue = nullptr;
    QCheckBox *m_showHidden = nullptr;
    QLineEdit *m_template = nullptr;
    QSplitter *m_splitter = nullptr;
    QTableView *m_view = nullptr;
    QLabel *m_history = nullptr;
    QLabel *m_count = nullptr;
    LibraryBatch *m_batch = nullptr;
    bool m_closeAfterCheck = false;
};

} // namespace Gui
