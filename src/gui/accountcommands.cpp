#include "gui/accountcommands.h"

#include "config/productinfo.h"
#include "login/logout.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

const QString &loginCaption()
{
    static const QString caption = u"登录会员"_s;
    return caption;
}

const QString &logoutCaption()
{
    static const QString caption = u"注销登录"_s;
    return caption;
}

} // namespace

AccountCommands::AccountCommands(QWidget &mainWindow, QPushButton &accountButton, const Config::Endpoints &endpoints,
                                 LoginWindowSetup loginSetup, MessageBoxSeam messageBox)
    : QObject(&mainWindow)
    , m_mainWindow(mainWindow)
    , m_accountButton(accountButton)
    , m_endpoints(endpoints)
    , m_loginSetup(std::move(loginSetup))
    , m_messageBox(std::move(messageBox))
{
    connect(&m_accountButton, &QPushButton::clicked, this, [this] {
        if (isLoggedIn())
            logOut();
        else
            openLogin();
    });
}

bool AccountCommands::isLoggedIn() const
{
    // The button's caption is the one record of the login state.
    return m_accountButton.text() == logoutCaption();
}

void AccountCommands::showLoggedIn(const QString &userName)
{
    // A window title takes "[*]" for the modified mark and "[*][*]" for the text "[*]".
    QString shownName = userName;
    shownName.replace(u"[*]"_s, u"[*][*]"_s);
    m_mainWindow.setWindowTitle(Config::productTitle() + u"   登陆用户："_s + shownName);
    m_accountButton.setText(logoutCaption());
}

void AccountCommands::openLogin()
{
    m_accountButton.setEnabled(false);
    LoginWindowSetup setup = m_loginSetup;
    setup.endpoints = m_endpoints;
    auto *window = new LoginWindow(std::move(setup), &m_mainWindow);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    connect(window, &LoginWindow::closed, &m_accountButton, [button = &m_accountButton] { button->setEnabled(true); });
    connect(window, &LoginWindow::loggedIn, this, &AccountCommands::showLoggedIn);
    window->move(m_mainWindow.geometry().center() - window->rect().center());
    window->show();
    emit loginWindowOpened(window);
}

void AccountCommands::logOut()
{
    Login::endForumLogin(m_endpoints.forum, m_endpoints.timeout);
    m_mainWindow.setWindowTitle(Config::productTitle());
    m_accountButton.setText(loginCaption());
    m_messageBox(u"注销成功!"_s, MessageIcon::Information, messageTitle());
}

} // namespace Gui
