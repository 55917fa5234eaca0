#pragma once

#include "gui/browser.h"
#include "gui/clock.h"
#include "gui/loginwindowcontrols.h"
#include "gui/messagebox.h"
#include "login/accountstore.h"
#include "login/avatarlookup.h"
#include "login/exchange.h"
#include "config/endpoints.h"

#include <QPixmap>
#include <QWidget>

namespace Gui {

// What the login window takes from outside; empty functions mean the real thing.
struct LoginWindowSetup
{
    Config::Endpoints endpoints;  // the forum, the probe, the transfer timeout, the login.ini path
    TimeSource now;            // default: QTime::currentTime
    BrowserSeam openUrl;       // default: the desktop's browser
    MessageBoxSeam messageBox; // default: a modal box over the window
};

// The input of a login that has passed the window's checks, exactly as typed.
struct LoginInput
{
    QString account;
    QString password;
    int questionId = 0; // 0: no security question
    QString answer;     // empty without a question
    bool remember = false;
};

// The login window. At load it lists the security questions, fills in the remembered account,
// shows the avatar of a numeric account (or the default one) and ends any forum login of the
// process. A click on 登录 checks the input, disables the input controls, hands the input over in
// loginRequested() and runs the login exchange; the window presents its outcome.
class LoginWindow : public QWidget
{
    Q_OBJECT

public:
    explicit LoginWindow(LoginWindowSetup setup, QWidget *parent = nullptr);

    // Enables or disables 登录, the question, the answer, the account and the password, in
    // that order.
    void setInputEnabled(bool enabled);

    // Looks up uid's forum avatar and shows it, or the default avatar when there is none.
    void showAvatar(const QString &uid);

signals:
    void loginRequested(const Gui::LoginInput &input);
    // The forum welcomed userName; the window has closed.
    void loggedIn(const QString &userName);
    // The avatar frame shows its new picture, centred.
    void avatarShown();
    // The window has closed, whatever closed it.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void fillSavedAccount();
    void startLogin(const LoginInput &input);
    void present(const Login::LoginResult &result);
    void rememberAccount();
    void onQuestionSelected(int index);
    void submit();
    void setAvatar(const QPixmap &picture);
    // While the account box loses the focus: true when the focus went to another control of
    // this window.
    bool leavesForAnotherControl() const;
    void tickClock();

    QString m_forumBaseUrl;
    std::chrono::milliseconds m_transferTimeout;
    TimeSource m_now;
    BrowserSeam m_openUrl;
    MessageBoxSeam m_messageBox;
    LoginWindowControls m_ui;
    Login::AvatarLookup m_avatarLookup;
    Login::AccountStore m_accounts;
    Login::Exchange m_exchange;
    QPixmap m_defaultAvatar;
    int m_questionId = 0;
};

} // namespace Gui
