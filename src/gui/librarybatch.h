#pragma once

#include "config/endpoints.h"
#include "gui/browser.h"
#include "gui/messagebox.h"
#include "gui/savedialog.h"
#include "library/shareexport.h"
#include "library/sharerecord.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QTableView;

namespace Library {
class Store;
}

namespace Gui {

class LibraryLinkCheck;
class LibraryModel;

// The library window's work on the selected shares: copy with the template, copy the
// extraction codes, open in the browser, hide and show again, check their links
// (LibraryLinkCheck), export. Copying and opening are recorded in the library.
class LibraryBatch : public QObject
{
    Q_OBJECT

public:
    // Opening more shares than this asks first; more than kMostOpened are never opened at once.
    static constexpr int kOpenWithoutAsking = 5;
    static constexpr int kMostOpened = 20;

    enum class Scope { All, Shown, Selected };

    struct Parts
    {
        Library::Store &store;
        LibraryModel &model;
        QTableView &view;
        QLineEdit &shareTemplate;
        QLabel &status;
        MessageBoxSeam messageBox;
        QuestionSeam ask;
        BrowserSeam openUrl;
        SaveFileSeam saveFile;
        const Config::Endpoints *endpoints; // read at each link check; null: none
    };

    LibraryBatch(Parts parts, QObject *parent);

    // In the order of the window's buttons and context menu.
    QList<QAction *> actions() const { return m_actions; }

    void copyWithTemplate();
    void copyCodes();
    void openInBrowser();
    void setHidden(bool hidden);
    // Checks the selected shares' links; while a check runs, stops it.
    void checkLinks();
    bool isCheckingLinks() const;
    // Asks for what, how and where, then writes.
    void exportShares();
    // Writes the shares of scope to path; the refusal is shown. True when written.
    bool exportTo(Scope scope, const Library::ExportOptions &options, const QString &path);

signals:
    // Shares were hidden or shown again: the rows must be read anew.
    void libraryChanged();
    void linkCheckFinished();

private:
    QAction *addAction(const QString &text, const char *name, const QKeySequence &shortcut, const std::function<void()> &run);
    // The selected rows' ids in the table's order.
    QList<qint64> selectedIds() const;
    QList<Library::ShareRecord> selectedShares() const;
    void report(const QString &text);
    // The selection's actions are enabled while rows are selected.
    void enableForSelection();

    Parts m;
    QList<QAction *> m_actions;
    QAction *m_checkLinks = nullptr;
    LibraryLinkCheck *m_linkCheck = nullptr;
};

} // namespace Gui
