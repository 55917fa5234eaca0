#pragma once

class QAbstractItemModel;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QTimer;
class QTreeView;
class QWidget;

namespace MainUi {

class StatusBar;

// The controls of the main window, placed where the window's fixed layout puts them. Each
// carries its own name as object name, so tests and styles find it.
struct Form1Controls
{
    QTreeView *listView1;
    QPushButton *command1; // 开始获取, drawn above the list it lies on
    QFrame *picture2;
    QLabel *label2;
    QFrame *picture1;
    QLabel *label1;
    QLineEdit *text1;
    QPushButton *command7;
    QPushButton *command2;
    QPushButton *command3;
    QPushButton *command4;
    QPushButton *command5;
    QLabel *label3;
    QSlider *slider1;
    QPushButton *command8;
    QPushButton *command6;
    StatusBar *s1;
    QTimer *timer1;
    QMenu *menu;
};

// Creates every control as a child of form, the list showing model, in the state the window
// opens with.
Form1Controls createForm1Controls(QWidget &form, QAbstractItemModel &model);

} // namespace MainUi
