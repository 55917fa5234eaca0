#pragma once

#include <QList>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace Gui {

class StatusBar;

// The controls of the login window in their places and their state before the load. Each
// carries its own name as object name.
struct Form2Controls
{
    QLabel *accountLabel;
    QLineEdit *accountEdit;
    QLabel *passwordLabel;
    QLineEdit *passwordEdit;
    QLabel *questionLabel;
    QComboBox *questionBox;
    QLabel *answerLabel;
    QLineEdit *answerEdit;
    QCheckBox *rememberBox;
    QPushButton *loginButton;
    QPushButton *registerButton;
    QFrame *avatarFrame;
    QLabel *avatarImage;
    StatusBar *statusBar;
    QTimer *clockTimer;

    // The five input controls, in the order in which they are disabled and enabled.
    QList<QWidget *> inputControls() const;
};

Form2Controls createForm2Controls(QWidget &form);

} // namespace Gui
