#include "gui/loginwindow.h"

#include "gui/statusbar.h"
#include "login/loginform.h"
#include "login/logout.h"
#include "login/outcomereport.h"
#include "login/pictureformat.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

constexpr QSize kClientSize{401, 279};

} // namespace

LoginWindow::LoginWindow(LoginWindowSetup setup, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , m_forumBaseUrl(setup.endpoints.forum)
    , m_transferTimeout(setup.endpoints.timeout)
    , m_now(setup.now ? std::move(setup.now) : TimeSource(&QTime::currentTime))
    , m_openUrl(setup.openUrl ? std::move(setup.openUrl) : systemBrowser())
    , m_messageBox(setup.messageBox ? std::move(setup.messageBox) : modalMessageBox(this))
    , m_ui(createLoginWindowControls(*this))
    , m_avatarLookup(m_forumBaseUrl, m_transferTimeout)
    , m_accounts(Login::loginIniPath(setup.endpoints.loginIni))
    , m_exchange(setup.endpoints)
    , m_defaultAvatar(u":/gui/defaultavatar.png"_s)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"会员登录"_s);
    setFixedSize(kClientSize);

    m_ui.statusBar->setPanelText(LoginCaptionPanel, u"登陆提示："_s);
    m_ui.statusBar->setPanelText(LoginStatusPanel, u"请输入您的用户名及密码.."_s);
    m_ui.statusBar->mirrorTextAsToolTip(LoginCaptionPanel);
    m_ui.statusBar->mirrorTextAsToolTip(LoginStatusPanel);

    m_ui.accountEdit->installEventFilter(this);
    connect(m_ui.questionBox, &QComboBox::currentIndexChanged, this, &LoginWindow::onQuestionSelected);
    connect(m_ui.loginButton, &QPushButton::clicked, this, &LoginWindow::submit);
    // Enter in the password box logs in, as users expect; a disabled 登录 ignores it.
    connect(m_ui.passwordEdit, &QLineEdit::returnPressed, m_ui.loginButton, &QPushButton::click);
    connect(m_ui.registerButton, &QPushButton::clicked, this, [this] {
        m_openUrl(QUrl(m_forumBaseUrl + u"member.php?mod=register"_s));
    });
    connect(&m_avatarLookup, &Login::AvatarLookup::finished, this, [this](const Login::AvatarResult &result) {
        // Only the decoder its first bytes name sees the picture.
        const char *format = Login::pictureFormat(result.picture);
        QPixmap picture;
        if (!format || !picture.loadFromData(result.picture, format))
            picture = m_defaultAvatar;
        setAvatar(picture);
    });
    connect(m_ui.clockTimer, &QTimer::timeout, this, &LoginWindow::tickClock);
    connect(&m_exchange, &Login::Exchange::statusChanged, this,
            [this](const QString &text) { m_ui.statusBar->setPanelText(LoginStatusPanel, text); });
    connect(&m_exchange, &Login::Exchange::finished, this, &LoginWindow::present);
    load();
}

void LoginWindow::load()
{
    tickClock();
    m_ui.clockTimer->start();
    for (const QStringView question : Login::kSecurityQuestions) // selects item 0: no question
        m_ui.questionBox->addItem(question.toString());
    fillSavedAccount();
    if (Login::isNumericAccount(m_ui.accountEdit->text()))
        showAvatar(m_ui.accountEdit->text());
    else
        setAvatar(m_defaultAvatar);
    // Every opening starts from no forum login.
    Login::endForumLogin(m_forumBaseUrl, m_transferTimeout);
}

void LoginWindow::fillSavedAccount()
{
    // A value that does not decipher has shown its message and loads as empty text.
    const Login::SavedAccount saved = m_accounts.load();
    if (!saved.keep)
        return;
    m_ui.accountEdit->setText(saved.user);
    m_ui.passwordEdit->setText(saved.password);
    if (saved.question != 0) {
        m_ui.questionBox->setCurrentIndex(saved.question); // shows the answer box
        m_ui.answerEdit->setText(saved.answer);
    }
    m_ui.rememberBox->setChecked(true);
}

void LoginWindow::setInputEnabled(bool enabled)
{
    for (QWidget *control : m_ui.inputControls())
        control->setEnabled(enabled);
}

void LoginWindow::showAvatar(const QString &uid)
{
    m_avatarLookup.lookUp(uid);
}

void LoginWindow::setAvatar(const QPixmap &picture)
{
    // A picture larger than the frame is shown whole, made smaller.
    const QSize room = m_ui.avatarFrame->contentsRect().size();
    const QPixmap shown = picture.width() > room.width() || picture.height() > room.height()
        ? picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        : picture;
    m_ui.avatarImage->setPixmap(shown);
    m_ui.avatarImage->resize(shown.size());
    const QSize frame = m_ui.avatarFrame->size();
    m_ui.avatarImage->move((frame.width() - shown.width()) / 2, (frame.height() - shown.height()) / 2);
    emit avatarShown();
}

void LoginWindow::onQuestionSelected(int index)
{
    if (index >= 0 && index <= Login::kHighestQuestion)
        m_questionId = index;
    const bool asked = m_questionId != 0;
    m_ui.answerLabel->setVisible(asked);
    m_ui.answerEdit->setVisible(asked);
    if (!asked)
        m_ui.answerEdit->clear();
}

void LoginWindow::submit()
{
    const QString account = m_ui.accountEdit->text();
    const QString password = m_ui.passwordEdit->text();
    const QString answer = m_ui.answerEdit->text();
    const QString refusal = Login::inputRefusal({account, password, m_questionId, answer});
    if (!refusal.isEmpty()) {
        m_ui.statusBar->setPanelText(LoginStatusPanel, refusal);
        return;
    }
    m_ui.statusBar->setPanelText(LoginStatusPanel, u"正在检测您的联网情况..."_s);
    setInputEnabled(false);
    const LoginInput input{account, password, m_questionId, answer, m_ui.rememberBox->isChecked()};
    emit loginRequested(input);
    startLogin(input);
}

void LoginWindow::startLogin(const LoginInput &input)
{
    // Waits for the probe while events run: the window may be closed and gone on return.
    m_exchange.start({input.account, input.password, input.questionId, input.answer});
}

void LoginWindow::present(const Login::LoginResult &result)
{
    const Login::OutcomeReport report = Login::reportOf(result);
    if (report.logsOut)
        Login::endForumLogin(m_forumBaseUrl, m_transferTimeout);
    if (result.outcome == Login::LoginOutcome::Success) {
        if (result.uid)
            showAvatar(*result.uid);
        rememberAccount();
        close();
        emit loggedIn(result.userName);
        return;
    }
    if (report.message)
        m_messageBox(*report.message, report.warning ? MessageIcon::Warning : MessageIcon::Information, messageTitle());
    if (report.status)
        m_ui.statusBar->setPanelText(LoginStatusPanel, *report.status);
    switch (result.outcome) {
    case Login::LoginOutcome::NoConnection:
    case Login::LoginOutcome::Banned:
    case Login::LoginOutcome::FailureText:
    case Login::LoginOutcome::ForumMessage:
        setInputEnabled(true); // the user may correct the input and try again
        break;
    case Login::LoginOutcome::ForumFailure:
        close();
        break;
    case Login::LoginOutcome::LoginDataError: // the input stays disabled: only a new window helps
    case Login::LoginOutcome::Success:
        break;
    }
}

void LoginWindow::rememberAccount()
{
    // What the boxes hold now: they have been disabled since the click.
    const QString refusal = m_accounts.save({m_ui.rememberBox->isChecked(), m_ui.accountEdit->text(),
                                             m_ui.passwordEdit->text(), m_questionId, m_ui.answerEdit->text()});
    if (!refusal.isEmpty()) // the login stands; only remembering it was refused
        m_messageBox(refusal, MessageIcon::Warning, messageTitle());
}

void LoginWindow::tickClock()
{
    m_ui.statusBar->setPanelText(LoginClockPanel, clockText(m_now()));
}

bool LoginWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.accountEdit) {
        if (event->type() == QEvent::MouseButtonPress && m_ui.accountEdit->text() == accountPrompt())
            m_ui.accountEdit->clear();
        else if (event->type() == QEvent::FocusOut && leavesForAnotherControl()
                 && Login::isNumericAccount(m_ui.accountEdit->text()))
            showAvatar(m_ui.accountEdit->text());
    }
    return QWidget::eventFilter(watched, event);
}

bool LoginWindow::leavesForAnotherControl() const
{
    // Qt has already moved the focus. Switching to another window, a message box or a popup
    // takes it out of this window (or nowhere): the user has not left the account box.
    const QWidget *next = QApplication::focusWidget();
    return next && next != m_ui.accountEdit && isAncestorOf(next);
}

void LoginWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    // A login still under way ends here: no late answer logs in behind a closed window.
    m_exchange.cancel();
    emit closed();
}

} // namespace Gui
