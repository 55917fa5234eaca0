#pragma once

#include "config/endpoints.h"
#include "library/sharerecord.h"

#include <QList>
#include <QObject>

class QAction;
class QLabel;
class QShortcut;
class QWidget;

namespace Crawl {
class StopSwitch;
}

namespace Library {
class Store;
}

namespace Gui {

class LibraryModel;

// The library window's 检查链接: checks the links of the given shares one after another
// (Library::LinkRecheck, the library's fresh checks taken as they are) while the window stays
// responsive: the fetcher's waits run the event loop. Progress shows in the status line, each
// check in the table's link column as it comes; the action again or Esc stops the run after the
// request in flight.
class LibraryLinkCheck : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Library::Store &store;
        LibraryModel &model;
        QLabel &status;
        QAction &action; // 检查链接; reads 停止检查 while a run goes on
        const Config::Endpoints *endpoints; // read at each run; null: no checks
    };

    LibraryLinkCheck(Parts parts, QWidget &window);

    bool isAvailable() const { return m_parts.endpoints != nullptr; }
    bool isRunning() const { return m_stop != nullptr; }
    // Checks shares; returns when they are done or the run was stopped. The library's refusal to
    // store a check is returned (empty: none).
    QString run(const QList<Library::ShareRecord> &shares);
    void stop();

signals:
    void finished();

private:
    Parts m_parts;
    QShortcut *m_escape;
    Crawl::StopSwitch *m_stop = nullptr; // of the run going on
};

} // namespace Gui
