#pragma once

#include "gui/mainwindow.h"
#include "gui/statusbar.h"

#include <QList>
#include <QStringList>
#include <QTest>
#include <QTreeView>
#include <QUrl>

// A main window whose message boxes, browser calls and save dialogs are recorded, whose save
// dialog answers from a script and whose clock reads a fixed time.
struct RecordedForm
{
    struct Message
    {
        QString text;
        Gui::MessageIcon icon;
        QString title;
    };
    struct SaveDialog
    {
        QString title;
        QString filter;
        QString proposedFile;
    };

    explicit RecordedForm(const Config::Endpoints &endpoints, QTime now = QTime(9, 5, 3), QString profileWarning = {},
                          Config::Provenance settings = {}, Library::Store *library = nullptr)
        : form(setup(endpoints, now, std::move(profileWarning), std::move(settings), library))
    {
    }

    template<typename T = QWidget>
    T *child(const char *name)
    {
        return form.findChild<T *>(QLatin1String(name));
    }
    Gui::StatusBar *statusBar() { return child<Gui::StatusBar>("S1"); }

    // Waits until the update check of start() has presented its verdict.
    bool checked()
    {
        return QTest::qWaitFor([this] {
            return programEnds > 0 || !messages.isEmpty() || statusBar()->panelText(2) != u"检测更新中..";
        });
    }
    // Selects row and makes it the current one, as a click on it does.
    void selectRow(int row)
    {
        auto *view = child<QTreeView>("ListView1");
        view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    QList<Message> messages;
    QList<QUrl> openedUrls;
    QList<SaveDialog> saveDialogs;
    QStringList saveAnswers; // what the save dialogs answer in turn; empty text cancels
    int programEnds = 0;
    Gui::MainWindow form;

private:
    Gui::MainWindowSetup setup(const Config::Endpoints &endpoints, QTime now, QString profileWarning, Config::Provenance settings,
                               Library::Store *library)
    {
        Gui::MainWindowSetup setup;
        setup.library = library;
        setup.endpoints = endpoints;
        setup.profileWarning = std::move(profileWarning);
        setup.settings = std::move(settings);
        setup.messageBox = [this](const QString &text, Gui::MessageIcon icon, const QString &title) {
            messages.append({text, icon, title});
        };
        setup.now = [now] { return now; };
        setup.openUrl = [this](const QUrl &url) { openedUrls.append(url); };
        setup.endProgram = [this] { ++programEnds; };
        setup.saveFile = [this](const QString &title, const QString &filter, const QString &proposedFile) {
            saveDialogs.append({title, filter, proposedFile});
            return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
        };
        return setup;
    }
};
