#include "crypto/messagesink.h"
#include "crypto/aes/rijndael.h"
#include "demo-site/forum.h"
#include "demo-site/server.h"
#include "gui/mainwindow.h"
#include "gui/loginwindow.h"
#include "gui/statusbar.h"
#include "login/accountstore.h"
#include "net/networkaccess.h"
#include "support/demositerows.h"
#include "support/closedport.h"
#include "support/demoaccounts.h"
#include "support/files.h"
#include "support/logincookie.h"
#include "support/loopbackserver.h"
#include "text/gbk.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <thread>
#include <tuple>

using namespace Qt::StringLiterals;
using Gui::LoginWindow;
using Gui::LoginInput;

namespace {

const QString kPrompt = u"请输入您的帐号或UID"_s;

// "text|icon|title", as a message box shows it.
QString messageLine(const QString &text, Gui::MessageIcon icon, const QString &title)
{
    return text + u'|' + QString::number(int(icon)) + u'|' + title;
}

Gui::MessageBoxSeam recordTo(QStringList &messages)
{
    return [&messages](const QString &text, Gui::MessageIcon icon, const QString &title) {
        messages.append(messageLine(text, icon, title));
    };
}

// A login window whose browser, message boxes and clock are recorded.
struct RecordedLoginWindow
{
    explicit RecordedLoginWindow(const Config::Endpoints &endpoints)
        : form(Gui::LoginWindowSetup{endpoints, [] { return QTime(9, 5, 3); }, [this](const QUrl &url) { opened.append(url); },
                               recordTo(messages)})
    {
    }

    template<typename T = QWidget>
    T *child(const char *name)
    {
        return form.findChild<T *>(QLatin1String(name));
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(name); }
    QImage avatar() { return child<QLabel>("Image1")->pixmap().toImage(); }

    bool avatarCentred()
    {
        return (child("Image1")->geometry().center() - child("Picture1")->rect().center()).manhattanLength() <= 1;
    }

    // Shows the window and puts the focus into the account box.
    bool focusAccount()
    {
        form.show();
        form.activateWindow();
        edit("Text1")->setFocus();
        return QTest::qWaitForWindowActive(&form) && edit("Text1")->hasFocus();
    }

    // Types text into the account box and tabs on to the password, as the user does.
    bool leaveAccount(const QString &text)
    {
        if (!focusAccount())
            return false;
        edit("Text1")->setText(text);
        QTest::keyClick(edit("Text1"), Qt::Key_Tab);
        return edit("Text2")->hasFocus();
    }

    QList<QUrl> opened;
    QStringList messages;
    LoginWindow form;
};

// Types input into window, clicks 登录 and waits until the outcome is presented: a message box
// or the window closed.
bool logIn(LoginWindow &window, const QStringList &messages, const LoginInput &input)
{
    const auto edit = [&window](const QString &name) { return window.findChild<QLineEdit *>(name); };
    edit(u"Text1"_s)->setText(input.account);
    edit(u"Text2"_s)->setText(input.password);
    window.findChild<QComboBox *>(u"Combo1"_s)->setCurrentIndex(input.questionId);
    edit(u"Text3"_s)->setText(input.answer);
    window.findChild<QCheckBox *>(u"Check1"_s)->setChecked(input.remember);
    QSignalSpy closed(&window, &LoginWindow::closed);
    QTest::mouseClick(window.findChild<QWidget *>(u"Command1"_s), Qt::LeftButton);
    return QTest::qWaitFor([&] { return !closed.isEmpty() || !messages.isEmpty(); }, 10000);
}

// The login of a demo account, as typed into the window.
LoginInput demoInput(QStringView label, bool remember = false)
{
    const DemoAccount &a = demoAccount(label);
    return {a.account, a.password, a.question, a.answer, remember};
}

// What the window shows, as the next login would send it.
LoginInput shownInput(LoginWindow &window)
{
    const auto text = [&window](const QString &name) { return window.findChild<QLineEdit *>(name)->text(); };
    return {text(u"Text1"_s), text(u"Text2"_s), window.findChild<QComboBox *>(u"Combo1"_s)->currentIndex(),
            text(u"Text3"_s), window.findChild<QCheckBox *>(u"Check1"_s)->isChecked()};
}

QImage defaultAvatar()
{
    return QImage(u":/gui/defaultavatar.png"_s);
}

// Records the order in which watched widgets change their enabled state.
class EnabledOrder : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            names.append(watched->objectName());
        return false;
    }
    QStringList names;
};

// A main window, its message boxes recorded, shown; its share site is unreachable.
struct RecordedMainWindow
{
    explicit RecordedMainWindow(const Config::Endpoints &endpoints) : forum(endpoints.forum), form(setup(messages, endpoints))
    {
        form.show();
    }

    static Gui::MainWindowSetup setup(QStringList &messages, const Config::Endpoints &endpoints)
    {
        Gui::MainWindowSetup s;
        s.endpoints = endpoints;
        s.endpoints.shareSite = u"http://127.0.0.1:%1/"_s.arg(closedPort());
        s.messageBox = recordTo(messages);
        return s;
    }
    QPushButton *button(const char *name) { return form.findChild<QPushButton *>(QLatin1String(name)); }

    QStringList messages;
    const QString forum;
    Gui::MainWindow form;
};

// Endpoints whose forum nobody listens on.
Config::Endpoints unreachableForum(Config::Endpoints endpoints)
{
    endpoints.forum = u"http://127.0.0.1:%1/"_s.arg(closedPort());
    return endpoints;
}

enum class Network { Demo, ProbeDown, ForumSilent };

// A forum that answers the login only after 1.5 s.
void answerLate(LoopbackServer &forum)
{
    forum.server().Post("/member.php", [](const httplib::Request &, httplib::Response &response) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        response.set_content("<html></html>", "text/html");
    });
}

const QString kProductTitle = u"Vorlen360云盘资源获取器 V1.0【VIP】"_s;

} // namespace

class TestLoginWindow : public QObject
{
    Q_OBJECT

    DemoSite::Server m_site;
    Config::Endpoints m_endpoints;
    QTemporaryDir m_dir;

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { Net::networkManager().clearConnectionCache(); }
    void atLoad();
    void questionSelection();
    void clickOnThePromptEmptiesIt();
    void checks_data();
    void checks();
    void registration();
    void avatarOfANumericAccount_data();
    void avatarOfANumericAccount();
    void avatarDecodedByItsFirstBytes_data();
    void avatarDecodedByItsFirstBytes();
    void noAvatarLookupWhenTheFocusLeavesTheWindow_data();
    void noAvatarLookupWhenTheFocusLeavesTheWindow();
    void enterInThePasswordBoxLogsIn();
    void forumMessageShownAsPlainTextOverTheLoginWindow();
    void modalOverTheMainWindow();
    void logInAndOut();
    void outcomes_data();
    void outcomes();
    void rememberedAccount_data();
    void rememberedAccount();
    void accountTheFileCannotHoldIsNotRemembered();
    void brokenSavedPassword_data();
    void brokenSavedPassword();
    void closingEndsThePendingLogin();
};

void TestLoginWindow::initTestCase()
{
    QVERIFY(m_site.start() && m_dir.isValid());
    m_endpoints = DemoSiteRows::endpointsOf(m_site);
    m_endpoints.timeout = std::chrono::seconds(10);
    m_endpoints.loginIni = m_dir.filePath(u"login.ini"_s);
}

void TestLoginWindow::init()
{
    QFile::remove(m_endpoints.loginIni);
}

void TestLoginWindow::atLoad()
{
    RecordedLoginWindow w(m_endpoints);
    QCOMPARE(w.edit("Text1")->text(), kPrompt);
    QCOMPARE(w.edit("Text2")->text(), QString());
    QVERIFY(w.edit("Text2")->echoMode() == QLineEdit::Password && w.edit("Text3")->echoMode() == QLineEdit::Password);
    QCOMPARE(w.child<QComboBox>("Combo1")->count(), 8);
    QCOMPARE(w.child<QComboBox>("Combo1")->currentText(), u"安全提问"_s);
    QVERIFY(w.child("Label4")->isHidden() && w.child("Text3")->isHidden());
    QVERIFY(!w.child<QCheckBox>("Check1")->isChecked());
    QCOMPARE(w.avatar(), defaultAvatar());
    QVERIFY(w.avatarCentred());

    auto *statusBar = w.child<Gui::StatusBar>("S1");
    QCOMPARE(statusBar->panelCount(), 3);
    QCOMPARE(statusBar->panelText(3), u"9:5:3"_s);
    statusBar->setPanelText(2, u"<a href=\"http://forum.test/\">请输入密码</a>"_s);
    for (int panel : {1, 2}) {
        const auto *label = statusBar->findChild<QLabel *>(u"panel"_s + QString::number(panel));
        QTextDocument tip; // a tool tip's text as the user reads it
        tip.setHtml(label->toolTip());
        QCOMPARE(tip.toPlainText(), label->text());
    }
}

void TestLoginWindow::questionSelection()
{
    RecordedLoginWindow w(m_endpoints);
    auto *questions = w.child<QComboBox>("Combo1");
    questions->setCurrentIndex(3);
    QVERIFY(w.child("Label4")->isVisibleTo(&w.form) && w.child("Text3")->isVisibleTo(&w.form));
    w.edit("Text3")->setText(u"上海"_s);
    questions->setCurrentIndex(7);
    QCOMPARE(w.edit("Text3")->text(), u"上海"_s);
    questions->setCurrentIndex(0);
    QVERIFY(w.child("Label4")->isHidden() && w.child("Text3")->isHidden());
    QCOMPARE(w.edit("Text3")->text(), QString());
    questions->setCurrentIndex(5);
    QVERIFY(w.child("Text3")->isVisibleTo(&w.form));
    QCOMPARE(w.edit("Text3")->text(), QString());
}

void TestLoginWindow::clickOnThePromptEmptiesIt()
{
    RecordedLoginWindow w(m_endpoints);
    QTest::mouseClick(w.edit("Text1"), Qt::LeftButton);
    QCOMPARE(w.edit("Text1")->text(), QString());
    w.edit("Text1")->setText(u"bob"_s);
    QTest::mouseClick(w.edit("Text1"), Qt::LeftButton);
    QCOMPARE(w.edit("Text1")->text(), u"bob"_s);
}

void TestLoginWindow::checks_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("passes");
    const QString noAccount = u"请输入用户帐号，用户名或UID.."_s, noPassword = u"请输入密码.."_s,
                  noAnswer = u"请输入安全提问答案.."_s, checking = u"正在检测您的联网情况..."_s;
    QTest::newRow("all empty: only the first") << QString() << QString() << 0 << QString() << noAccount << false;
    QTest::newRow("no password") << u"alice"_s << QString() << 3 << QString() << noPassword << false;
    QTest::newRow("question without answer") << u"alice"_s << u"pw"_s << 5 << QString() << noAnswer << false;
    QTest::newRow("no question, no answer") << u"alice"_s << u"pw"_s << 0 << QString() << checking << true;
    QTest::newRow("untouched prompt") << kPrompt << u"pw"_s << 0 << QString() << checking << true;
    QTest::newRow("question and answer, as typed") << u" 42 "_s << u"p&w=1"_s << 7 << u"1234"_s << checking << true;
}

void TestLoginWindow::checks()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(int, question);
    QFETCH(QString, answer);
    QFETCH(QString, status);
    QFETCH(bool, passes);
    RecordedLoginWindow w(m_endpoints);
    w.edit("Text1")->setText(account);
    w.edit("Text2")->setText(password);
    w.child<QComboBox>("Combo1")->setCurrentIndex(question);
    w.edit("Text3")->setText(answer);
    w.child<QCheckBox>("Check1")->setChecked(true);
    EnabledOrder order;
    for (const char *name : {"Text2", "Text1", "Text3", "Combo1", "Command1"})
        w.child(name)->installEventFilter(&order);
    QSignalSpy handedOver(&w.form, &LoginWindow::loginRequested);
    // The state at the hand-over: the exchange that follows changes it.
    QString statusAtHandOver;
    QStringList disabled;
    connect(&w.form, &LoginWindow::loginRequested, this, [&] {
        statusAtHandOver = w.child<Gui::StatusBar>("S1")->panelText(2);
        disabled = order.names;
    });

    QTest::mouseClick(w.child("Command1"), Qt::LeftButton);

    QCOMPARE(passes ? statusAtHandOver : w.child<Gui::StatusBar>("S1")->panelText(2), status);
    QCOMPARE(handedOver.size(), passes ? 1 : 0);
    const QStringList disabledInOrder{u"Command1"_s, u"Combo1"_s, u"Text3"_s, u"Text1"_s, u"Text2"_s};
    QCOMPARE(passes ? disabled : order.names, passes ? disabledInOrder : QStringList());
    if (passes) {
        const auto in = handedOver.at(0).at(0).value<LoginInput>();
        QCOMPARE((std::tuple(in.account, in.password, in.questionId, in.answer, in.remember)),
                 (std::tuple(account, password, question, answer, true)));
    }
}

void TestLoginWindow::registration()
{
    RecordedLoginWindow w(m_endpoints);
    QTest::mouseClick(w.child("Command2"), Qt::LeftButton);
    QCOMPARE(w.opened, QList<QUrl>{QUrl(m_endpoints.forum + u"member.php?mod=register"_s)});
    QVERIFY(w.child("Command1")->isEnabled());
}

void TestLoginWindow::avatarOfANumericAccount_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("shownUid"); // whose stored avatar is shown at the end; 0: the default
    QTest::newRow("stored avatar") << u"42"_s << true << 42;
    QTest::newRow("stored, with leading zeros") << u"0007"_s << true << 7;
    QTest::newRow("text 404 page") << u"5"_s << true << 0;
    QTest::newRow("refused connection") << u"42"_s << false << 0;
    QTest::newRow("six digits") << u"123456"_s << true << 0;
    QTest::newRow("a user name keeps the avatar") << u"alice"_s << true << 1;
}

void TestLoginWindow::avatarOfANumericAccount()
{
    QFETCH(QString, account);
    QFETCH(bool, reachable);
    QFETCH(int, shownUid);
    RecordedLoginWindow w(reachable ? m_endpoints : unreachableForum(m_endpoints));
    // Another picture first, so that the default avatar has to come back.
    QSignalSpy shown(&w.form, &LoginWindow::avatarShown);
    QVERIFY(w.leaveAccount(u"1"_s));
    QVERIFY(shown.wait(10000));
    QVERIFY(w.avatarCentred());

    QVERIFY(w.leaveAccount(account));
    if (Login::isNumericAccount(account))
        QVERIFY(shown.size() == 2 || shown.wait(10000));
    else
        QVERIFY(!shown.wait(300));
    const std::string stored = DemoSite::Forum::avatarPicture(shownUid);
    const QImage expected = shownUid ? QImage::fromData(QByteArray::fromStdString(stored)) : defaultAvatar();
    QCOMPARE(w.avatar().convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    QVERIFY(w.avatarCentred());
}

void TestLoginWindow::avatarDecodedByItsFirstBytes_data()
{
    QTest::addColumn<QByteArray>("format"); // of the stored picture, served as an image
    QTest::addColumn<bool>("shown");
    QTest::newRow("PNG") << QByteArray("PNG") << true; // bitmaps: the demo forum's
    QTest::newRow("portable pixmap") << QByteArray("PPM") << false;
}

void TestLoginWindow::avatarDecodedByItsFirstBytes()
{
    QFETCH(QByteArray, format);
    QFETCH(bool, shown);
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, format.constData()));
    LoopbackServer store;
    store.server().Get(".*", [&](const httplib::Request &, httplib::Response &response) {
        response.set_content(bytes.toStdString(), "image/" + format.toLower().toStdString());
    });
    QVERIFY(store.start());
    Config::Endpoints endpoints = m_endpoints;
    endpoints.forum = store.baseUrl();
    RecordedLoginWindow w(endpoints);
    QSignalSpy avatarShown(&w.form, &LoginWindow::avatarShown);

    QVERIFY(w.leaveAccount(u"7"_s) && avatarShown.wait(10000));

    const QImage expected = shown ? picture : defaultAvatar();
    QCOMPARE(w.avatar().convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    Net::networkManager().clearConnectionCache();
}

void TestLoginWindow::noAvatarLookupWhenTheFocusLeavesTheWindow_data()
{
    QTest::addColumn<bool>("popup"); // else another window
    QTest::newRow("another window") << false;
    QTest::newRow("a popup menu") << true;
}

// Tab to another control looks the avatar up: avatarOfANumericAccount.
void TestLoginWindow::noAvatarLookupWhenTheFocusLeavesTheWindow()
{
    QFETCH(bool, popup);
    RecordedLoginWindow w(unreachableForum(m_endpoints));
    QVERIFY(w.focusAccount());
    w.edit("Text1")->setText(u"123456"_s); // numeric, without an address: reported at once
    QSignalSpy avatarShown(&w.form, &LoginWindow::avatarShown);
    QWidget other;
    QMenu menu;
    menu.addAction(u"x"_s);

    if (popup) {
        menu.popup(w.form.mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(menu.isVisible());
    } else {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    }

    QCOMPARE(avatarShown.size(), 0);
}

void TestLoginWindow::enterInThePasswordBoxLogsIn()
{
    RecordedLoginWindow w(m_endpoints);
    w.edit("Text1")->clear(); // refused at once: no login starts
    QSignalSpy pressed(w.child<QPushButton>("Command1"), &QPushButton::clicked);
    QTest::keyClick(w.edit("Text2"), Qt::Key_Return);
    QCOMPARE(pressed.size(), 1);
}

// A forum message may carry markup; the real box over the login window shows it as it came.
void TestLoginWindow::forumMessageShownAsPlainTextOverTheLoginWindow()
{
    const QString message = u"<a href=\"http://elsewhere.test/\">Click here</a>"_s;
    LoopbackServer forum;
    forum.server().Post("/member.php", [&](const httplib::Request &, httplib::Response &response) {
        response.set_content("<root><![CDATA[<script>if(typeof errorhandle_login=='function') {errorhandle_login('"
                                 + message.toStdString() + "', {});}</script>]]></root>",
                             "text/xml");
    });
    QVERIFY(forum.start());
    Gui::MainWindowSetup setup; // no seams: the real message boxes
    setup.endpoints = m_endpoints;
    setup.endpoints.forum = forum.baseUrl();
    Gui::MainWindow main(setup);
    main.show();
    QSignalSpy opened(&main.accountCommands(), &Gui::AccountCommands::loginWindowOpened);
    QTest::mouseClick(main.findChild<QWidget *>(u"Command6"_s), Qt::LeftButton);
    auto *login = opened.at(0).at(0).value<LoginWindow *>();
    // Read while the box waits for its OK, then closed.
    QStringList shown;
    QWidget *boxParent = nullptr;
    bool plainText = false;
    QTimer reader;
    connect(&reader, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxParent = box->parentWidget();
            plainText = std::ranges::any_of(box->findChildren<QLabel *>(), [&](const QLabel *label) {
                return label->text() == message && label->textFormat() == Qt::PlainText;
            });
            shown.append(box->text());
            box->accept();
        }
    });
    reader.start(10);

    QVERIFY(logIn(*login, shown, {u"demo"_s, u"x"_s, 0, {}, false}));

    QCOMPARE(shown, QStringList{message});
    QCOMPARE(boxParent, login);
    QVERIFY(plainText);
    Net::networkManager().clearConnectionCache();
}

void TestLoginWindow::modalOverTheMainWindow()
{
    RecordedMainWindow w(unreachableForum(m_endpoints));
    QSignalSpy opened(&w.form.accountCommands(), &Gui::AccountCommands::loginWindowOpened);
    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);

    QCOMPARE(opened.size(), 1);
    auto *login = opened.at(0).at(0).value<Gui::LoginWindow *>();
    QVERIFY(login->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), login);
    QCOMPARE(login->parentWidget(), &w.form);
    QVERIFY(!w.button("Command6")->isEnabled());
    // The main window takes no input: a click on 开始获取, as the window system delivers it,
    // starts no harvest.
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    const QPoint harvestButton = w.button("Command1")->geometry().center();
    QTest::mouseClick(w.form.windowHandle(), Qt::LeftButton, {}, harvestButton);
    QCOMPARE(w.form.findChild<Gui::StatusBar *>(u"S1"_s)->panelText(2), u"检测更新中.."_s);

    const QPointer<Gui::LoginWindow> window(login);
    login->close();
    QVERIFY(w.button("Command6")->isEnabled());
    QCOMPARE(w.button("Command6")->text(), u"登录会员"_s);
    QCOMPARE(w.form.windowTitle(), kProductTitle);
    QTRY_VERIFY(!window); // the next opening makes a new window
}

void TestLoginWindow::logInAndOut()
{
    RecordedMainWindow w(unreachableForum(m_endpoints));
    QSignalSpy opened(&w.form.accountCommands(), &Gui::AccountCommands::loginWindowOpened);
    w.form.accountCommands().showLoggedIn(u"[*]tester[*][*]"_s);
    QCOMPARE(w.form.windowHandle()->title(), kProductTitle + u"   登陆用户：[*]tester[*][*]"_s);
    QCOMPARE(w.button("Command6")->text(), u"注销登录"_s);
    QVERIFY(w.form.accountCommands().isLoggedIn());

    const QUrl forum(w.forum);
    Net::networkManager().cookieJar()->setCookiesFromUrl({QNetworkCookie("auth", "tester")}, forum);

    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);

    QVERIFY(Net::networkManager().cookieJar()->cookiesForUrl(forum).isEmpty()); // unreachable, but logged out
    QCOMPARE(opened.size(), 0);
    QCOMPARE(w.form.windowTitle(), kProductTitle);
    QCOMPARE(w.button("Command6")->text(), u"登录会员"_s);
    QCOMPARE(w.messages, QStringList{u"注销成功!|%1|Vorlen系列软件"_s.arg(int(Gui::MessageIcon::Information))});
}

void TestLoginWindow::outcomes_data()
{
    QTest::addColumn<Network>("network");
    QTest::addColumn<LoginInput>("input");
    QTest::addColumn<QString>("message"); // "text|icon|title"; empty: none
    QTest::addColumn<QString>("status");  // panel 2 of a window left open
    QTest::addColumn<bool>("inputEnabled");
    QTest::addColumn<bool>("windowOpen");
    QTest::addColumn<QString>("loggedInAs"); // empty: still logged out
    QTest::addColumn<bool>("cookie");        // the forum's login cookie is kept

    const auto warning = [](const QString &text) { return messageLine(text, Gui::MessageIcon::Warning, u"Vorlen系列软件"_s); };
    const auto information = [](const QString &text) {
        return messageLine(text, Gui::MessageIcon::Information, u"Vorlen系列软件"_s);
    };
    const QString failed = u"登录失败，您还可以尝试 4 次"_s, notice = u"抱歉，您的帐号正在审核中，请耐心等待"_s,
                  offline = u"请检查您的网络链接情况"_s;
    QTest::newRow("success") << Network::Demo << demoInput(u"success") << QString()
                             << QString() << false << false << u"demo"_s << true;
    QTest::newRow("success with question") << Network::Demo << demoInput(u"with question")
                                           << QString() << QString() << false << false << u"提问者"_s << true;
    QTest::newRow("wrong password") << Network::Demo << demoInput(u"wrong password") << warning(failed)
                                    << failed << true << true << QString() << false;
    QTest::newRow("banned") << Network::Demo << demoInput(u"banned")
                            << warning(u"您因违反Vorlen相关规定,现已做封号处理!"_s) << u"您的帐号已被禁止使用!"_s << true
                            << true << QString() << false;
    QTest::newRow("forum message") << Network::Demo << demoInput(u"forum message") << warning(notice)
                                   << notice << true << true << QString() << false;
    QTest::newRow("login data error") << Network::Demo << demoInput(u"login data error")
                                      << information(u"抱歉!登陆数据出错!请您点击重新登陆!"_s)
                                      << u"正在为您登录账号[ghost].."_s << false << true << QString() << false;
    QTest::newRow("broken answer") << Network::Demo << demoInput(u"broken answer")
                                   << information(u"论坛故障,暂时无法登录!请联系客服QQ：60718293"_s) << QString() << false
                                   << false << QString() << false;
    QTest::newRow("no network") << Network::ProbeDown << demoInput(u"success")
                                << warning(offline) << u"请检查您的网络链接"_s << true << true << QString() << false;
    QTest::newRow("forum never answers") << Network::ForumSilent << demoInput(u"success")
                                         << warning(offline) << u"请检查您的网络链接"_s << true << true << QString()
                                         << false;
}

// Each outcome group through the main window: 登录会员, the login window, the demo forum.
void TestLoginWindow::outcomes()
{
    QFETCH(Network, network);
    QFETCH(LoginInput, input);
    QFETCH(QString, message);
    QFETCH(QString, status);
    QFETCH(bool, inputEnabled);
    QFETCH(bool, windowOpen);
    QFETCH(QString, loggedInAs);
    QFETCH(bool, cookie);

    Config::Endpoints endpoints = m_endpoints;
    LoopbackServer silentForum;
    answerLate(silentForum);
    if (network == Network::ProbeDown)
        endpoints.probe = u"http://127.0.0.1:%1/"_s.arg(closedPort());
    if (network == Network::ForumSilent) {
        QVERIFY(silentForum.start());
        endpoints.forum = silentForum.baseUrl();
        endpoints.timeout = std::chrono::milliseconds(300);
    }
    RecordedMainWindow w(endpoints);
    QSignalSpy opened(&w.form.accountCommands(), &Gui::AccountCommands::loginWindowOpened);
    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    const QPointer<LoginWindow> login = opened.at(0).at(0).value<LoginWindow *>();

    QVERIFY(logIn(*login, w.messages, input));

    QCOMPARE(w.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(w.form.windowTitle(), loggedInAs.isEmpty() ? kProductTitle : kProductTitle + u"   登陆用户："_s + loggedInAs);
    QCOMPARE(w.button("Command6")->text(), loggedInAs.isEmpty() ? u"登录会员"_s : u"注销登录"_s);
    QCOMPARE(w.button("Command6")->isEnabled(), !windowOpen);
    QCOMPARE(hasLoginCookie(endpoints.forum), cookie);
    if (!windowOpen) {
        QTRY_VERIFY(!login);
        return;
    }
    QVERIFY(login->isVisible());
    QCOMPARE(login->findChild<Gui::StatusBar *>(u"S1"_s)->panelText(2), status);
    for (const auto *name : {"Command1", "Combo1", "Text3", "Text1", "Text2"})
        QCOMPARE(login->findChild<QWidget *>(QLatin1String(name))->isEnabled(), inputEnabled);
}

void TestLoginWindow::rememberedAccount_data()
{
    QTest::addColumn<bool>("prefilled"); // an account is remembered before the login
    QTest::addColumn<LoginInput>("input");
    QTest::addColumn<LoginInput>("reopened"); // what the next opening shows
    QTest::addColumn<bool>("fileKept");       // byte for byte

    const LoginInput demo = demoInput(u"success", true), question = demoInput(u"with question", true);
    QTest::newRow("ticked") << false << demo << demo << false;
    QTest::newRow("ticked, with question") << false << question << question << false;
    QTest::newRow("unticked clears") << true << demoInput(u"success")
                                     << LoginInput{kPrompt, {}, 0, {}, false} << false;
    QTest::newRow("failed login") << true << LoginInput{u"demo"_s, u"wrong"_s, 0, {}, true}
                                  << LoginInput{u"old"_s, u"旧密码"_s, 5, u"答案"_s, true} << true;
}

void TestLoginWindow::rememberedAccount()
{
    QFETCH(bool, prefilled);
    QFETCH(LoginInput, input);
    QFETCH(LoginInput, reopened);
    QFETCH(bool, fileKept);
    if (prefilled)
        Login::AccountStore(m_endpoints.loginIni).save({true, u"old"_s, u"旧密码"_s, 5, u"答案"_s});
    const QByteArray before = TestFiles::readAll(m_endpoints.loginIni);
    {
        RecordedLoginWindow first(m_endpoints);
        QVERIFY(logIn(first.form, first.messages, input));
    }
    QCOMPARE(TestFiles::readAll(m_endpoints.loginIni) == before, fileKept);

    RecordedLoginWindow next(m_endpoints);
    const LoginInput shown = shownInput(next.form);
    QCOMPARE((std::tuple(shown.account, shown.password, shown.questionId, shown.answer, shown.remember)),
             (std::tuple(reopened.account, reopened.password, reopened.questionId, reopened.answer, reopened.remember)));
    QCOMPARE(next.child("Text3")->isVisibleTo(&next.form), reopened.questionId != 0);
}

// A forum that welcomes any account: the name typed is one login.ini could not give back.
void TestLoginWindow::accountTheFileCannotHoldIsNotRemembered()
{
    LoopbackServer forum;
    forum.server().Post("/member.php", [](const httplib::Request &, httplib::Response &response) {
        response.set_content(Text::toGbk(u"<root><![CDATA[欢迎您回来 succeedhandle_login('a', 'b', "
                                          u"{'username':'x','usergroup':'y','uid':'7'});]]></root>")
                                 .toStdString(),
                             "text/xml");
    });
    QVERIFY(forum.start());
    Config::Endpoints endpoints = m_endpoints;
    endpoints.forum = forum.baseUrl();
    Login::AccountStore(endpoints.loginIni).save({true, u"old"_s, u"旧密码"_s, 0, {}});
    RecordedLoginWindow w(endpoints);
    QVERIFY(logIn(w.form, w.messages, {u"a😀b"_s, u"pw"_s, 0, {}, true}));
    QTRY_COMPARE(w.messages.size(), 1);
    QVERIFY2(w.messages.first().contains(u"未能记住该账号"_s), qPrintable(w.messages.join(u"|"_s)));
    RecordedLoginWindow next(endpoints);
    QCOMPARE(shownInput(next.form).account, kPrompt); // nothing remembered, the old account gone too
}

void TestLoginWindow::brokenSavedPassword_data()
{
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("message");
    const QString pw = Crypto::cRijndael().StringEncrypt(u"pw"_s, u"Quill"_s, 256, 256);
    QTest::newRow("not hexadecimal") << u"xyz"_s << u"错误：非十六进制数据！"_s;
    QTest::newRow("cut short") << pw.left(30) << u"ciphertext size not a multiple of block size"_s;
}

// The cipher's message reaches the user through the program's sink; the window still opens.
void TestLoginWindow::brokenSavedPassword()
{
    QFETCH(QString, pass);
    QFETCH(QString, message);
    TestFiles::writeAll(m_endpoints.loginIni,
                        Text::toGbk(u"[INFORMATION]\r\n保存账号=是\r\nUSER=alice\r\nPASS=%1\r\nASK=0\r\nANS=\r\n"_s.arg(pass)));
    QStringList shown;
    Gui::installCipherMessageSink(recordTo(shown));
    const auto restore = qScopeGuard([] { Crypto::setMessageSink({}); });

    RecordedLoginWindow w(m_endpoints);
    QCOMPARE(shown, QStringList{messageLine(message, Gui::MessageIcon::None, kProductTitle)});
    const LoginInput input = shownInput(w.form);
    QCOMPARE((std::tuple(input.account, input.password, input.remember)), (std::tuple(u"alice"_s, QString(), true)));
}

// A login still waiting for the forum ends with the window: no late outcome, no late login.
void TestLoginWindow::closingEndsThePendingLogin()
{
    LoopbackServer forum;
    answerLate(forum);
    QVERIFY(forum.start());
    Config::Endpoints endpoints = m_endpoints;
    endpoints.forum = forum.baseUrl();
    endpoints.timeout = std::chrono::milliseconds(1000);
    RecordedLoginWindow w(endpoints);
    w.edit("Text1")->setText(u"demo"_s);
    w.edit("Text2")->setText(u"demo123"_s);
    QTest::mouseClick(w.child("Command1"), Qt::LeftButton);
    w.form.close();
    QTest::qWait(1300); // past the transfer timeout
    QCOMPARE(w.messages, QStringList());
}

QTEST_MAIN(TestLoginWindow)
#include "tst_loginwindow.moc"
