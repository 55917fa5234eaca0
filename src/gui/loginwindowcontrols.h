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

// The panels of the login window's status bar, numbered from 1.
enum LoginWindowPanel : int { LoginCaptionPanel = 1, LoginStatusPanel, LoginClockPanel };

// The controls of the login window in their places and their state before the load. Each
// carries its own name as object name.
struct LoginWindowControls
{
    QLineEdit *accountEdit;
    QLineEdit *passwordEdit;
    QComboBox *questionBox;
    QLabel *answerLabel;
    QLineEdit *answerEdit;
    QCheckBox *rememberBox;
    QPushButton *loginButton;
    QPushButton *registerButton;
    QFrame *avatarFrame;
    QLabel *avatarImage;
    StatusBar *statusBar; // panels: LoginWindowPanel
    QTimer *clockTimer;

    // The five input controls, in the order in which they are disabled and enabled.
    QList<QWidget *> inputControls() const;
};

// The account box's text until the user types: a click clears it.
const QString &accountPrompt();

LoginWindowControls createLoginWindowControls(QWidget &form);

} // namespace Gui
