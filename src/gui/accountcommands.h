#pragma once

#include "gui/loginwindow.h"
#include "gui/messagebox.h"

#include <QObject>

class QPushButton;
class QWidget;

namespace Gui {

// The main window's account: its login button, which logs in or out by its caption, and the
// window caption that names the logged-in user.
class AccountCommands : public QObject
{
    Q_OBJECT

public:
    // accountButton lives in mainWindow; both, and endpoints, outlive this object. Each login
    // window gets loginSetup with the endpoints as they are when it opens; messageBox shows this
    // object's own messages.
    AccountCommands(QWidget &mainWindow, QPushButton &accountButton, const Config::Endpoints &endpoints,
                    LoginWindowSetup loginSetup, MessageBoxSeam messageBox);

    bool isLoggedIn() const;

    // After a successful login: the caption names userName as it is, the button logs out.
    void showLoggedIn(const QString &userName);

signals:
    // A new login window is open, modal over the main window.
    void loginWindowOpened(Gui::LoginWindow *window);

private:
    void openLogin();
    void logOut();

    QWidget &m_mainWindow;
    QPushButton &m_accountButton;
    const Config::Endpoints &m_endpoints;
    LoginWindowSetup m_loginSetup;
    MessageBoxSeam m_messageBox;
};

} // namespace Gui
