#pragma once

class QAbstractItemModel;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QTimer;
class QTreeView;
class QWidget;

namespace Gui {

class StatusBar;

// The panels of the main window's status bar, numbered from 1.
enum MainWindowPanel : int { MainCaptionPanel = 1, MainStatusPanel, MainVersionPanel, MainClockPanel };

// The controls of the main window, placed where the window's fixed layout puts them. Each
// carries its own name as object name, so tests and styles find it.
struct MainWindowControls
{
    QTreeView *resultView;
    QPushButton *harvestButton; // 开始获取, drawn above the list it lies on
    QFrame *disclaimerPanel;
    QLabel *disclaimerLabel;
    QFrame *searchPanel;
    QLabel *keywordLabel;
    QLineEdit *keywordEdit;
    QPushButton *searchButton;
    QPushButton *nextPageButton;
    QPushButton *previousPageButton;
    QPushButton *exportButton;
    QPushButton *serviceButton;
    QLabel *pickedPageLabel;
    QSlider *pageSlider;
    QPushButton *fetchPickedPageButton;
    QPushButton *accountButton;
    StatusBar *statusBar; // panels: MainWindowPanel
    QTimer *clockTimer;
    QMenu *programMenu;
    QAction *copyShareAction; // fz
    QAction *openShareAction; // dk
    QAction *copyCodeAction;  // fzzym
    QAction *settingsAction;  // sz, also Ctrl+, on the window
    QAction *libraryAction;   // zyk, also Ctrl+L on the window
};

// Creates every control as a child of form, the list showing model, in the state the window
// opens with.
MainWindowControls createMainWindowControls(QWidget &form, QAbstractItemModel &model);

} // namespace Gui
