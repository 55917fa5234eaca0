#include "demo-site/forum.h"
#include "demo-site/server.h"
#include "gui/form1.h"
#include "gui/form2.h"
#include "gui/statusbar.h"
#include "net/networkaccess.h"
#include "support/closedport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <tuple>

using namespace Qt::StringLiterals;
using Gui::Form2;
using Gui::LoginInput;

namespace {

const QString kPrompt = u"请输入您的帐号或UID"_s;

// A login window on a given forum whose browser and clock are recorded.
struct LoginWindow
{
    explicit LoginWindow(const QString &forum)
        : form(Gui::Form2Setup{forum, [] { return QTime(9, 5, 3); }, [this](const QUrl &url) { opened.append(url); }, std::chrono::seconds(10)})
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

    void leaveAccount(const QString &text)
    {
        edit("Text1")->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(edit("Text1"), &out);
    }

    QList<QUrl> opened;
    Form2 form;
};

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

// A main window on an unreachable forum and share site, its message boxes recorded, shown.
struct MainWindow
{
    MainWindow() : form(setup(messages, forum)) { form.show(); }

    static Gui::Form1Setup setup(QStringList &messages, const QString &forum)
    {
        Gui::Form1Setup s;
        s.endpoints.forum = s.endpoints.shareSite = forum;
        s.messageBox = [&messages](const QString &text, Gui::MessageIcon icon, const QString &title) {
            messages.append(text + u'|' + QString::number(int(icon)) + u'|' + title);
        };
        return s;
    }
    QPushButton *button(const char *name) { return form.findChild<QPushButton *>(QLatin1String(name)); }

    QStringList messages;
    const QString forum = u"http://127.0.0.1:%1/"_s.arg(closedPort());
    Gui::Form1 form;
};

const QString kProductTitle = u"Vorlen360云盘资源获取器 V1.0【VIP】"_s;

} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT

    DemoSite::Server m_site;
    QString m_forum;

private slots:
    void initTestCase();
    void cleanupTestCase() { Net::networkManager().clearConnectionCache(); }
    void atLoad();
    void questionSelection();
    void clickOnThePromptEmptiesIt();
    void checks_data();
    void checks();
    void registration();
    void avatarOfANumericAccount_data();
    void avatarOfANumericAccount();
    void modalOverTheMainWindow();
    void logInAndOut();
};

void TestForm2::initTestCase()
{
    QVERIFY(m_site.start());
    m_forum = QString::fromStdString(m_site.baseUrl()) + u"forum/"_s;
}

void TestForm2::atLoad()
{
    LoginWindow w(m_forum);
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
    statusBar->setPanelText(2, u"请输入密码.."_s);
    for (int panel : {1, 2}) {
        const auto *label = statusBar->findChild<QLabel *>(u"panel"_s + QString::number(panel));
        QCOMPARE(label->toolTip(), label->text());
    }
}

void TestForm2::questionSelection()
{
    LoginWindow w(m_forum);
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

void TestForm2::clickOnThePromptEmptiesIt()
{
    LoginWindow w(m_forum);
    QTest::mouseClick(w.edit("Text1"), Qt::LeftButton);
    QCOMPARE(w.edit("Text1")->text(), QString());
    w.edit("Text1")->setText(u"bob"_s);
    QTest::mouseClick(w.edit("Text1"), Qt::LeftButton);
    QCOMPARE(w.edit("Text1")->text(), u"bob"_s);
}

void TestForm2::checks_data()
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

void TestForm2::checks()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(int, question);
    QFETCH(QString, answer);
    QFETCH(QString, status);
    QFETCH(bool, passes);
    LoginWindow w(m_forum);
    w.edit("Text1")->setText(account);
    w.edit("Text2")->setText(password);
    w.child<QComboBox>("Combo1")->setCurrentIndex(question);
    w.edit("Text3")->setText(answer);
    w.child<QCheckBox>("Check1")->setChecked(true);
    EnabledOrder order;
    for (const char *name : {"Text2", "Text1", "Text3", "Combo1", "Command1"})
        w.child(name)->installEventFilter(&order);
    QSignalSpy handedOver(&w.form, &Form2::loginRequested);

    QTest::mouseClick(w.child("Command1"), Qt::LeftButton);

    QCOMPARE(w.child<Gui::StatusBar>("S1")->panelText(2), status);
    QCOMPARE(handedOver.size(), passes ? 1 : 0);
    const QStringList disabledInOrder{u"Command1"_s, u"Combo1"_s, u"Text3"_s, u"Text1"_s, u"Text2"_s};
    QCOMPARE(order.names, passes ? disabledInOrder : QStringList());
    if (passes) {
        const auto in = handedOver.at(0).at(0).value<LoginInput>();
        QCOMPARE((std::tuple(in.account, in.password, in.questionId, in.answer, in.remember)),
                 (std::tuple(account, password, question, answer, true)));
    }
}

void TestForm2::registration()
{
    LoginWindow w(m_forum);
    QTest::mouseClick(w.child("Command2"), Qt::LeftButton);
    QCOMPARE(w.opened, QList<QUrl>{QUrl(m_forum + u"member.php?mod=register"_s)});
    QVERIFY(w.child("Command1")->isEnabled());
}

void TestForm2::avatarOfANumericAccount_data()
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

void TestForm2::avatarOfANumericAccount()
{
    QFETCH(QString, account);
    QFETCH(bool, reachable);
    QFETCH(int, shownUid);
    LoginWindow w(reachable ? m_forum : u"http://127.0.0.1:%1/"_s.arg(closedPort()));
    // Another picture first, so that the default avatar has to come back.
    QSignalSpy shown(&w.form, &Form2::avatarShown);
    w.leaveAccount(u"1"_s);
    QVERIFY(shown.wait(10000));
    QVERIFY(w.avatarCentred());

    w.leaveAccount(account);
    if (Login::isNumericAccount(account))
        QVERIFY(shown.size() == 2 || shown.wait(10000));
    else
        QVERIFY(!shown.wait(300));
    const std::string stored = DemoSite::Forum::avatarPicture(shownUid);
    const QImage expected = shownUid ? QImage::fromData(QByteArray::fromStdString(stored)) : defaultAvatar();
    QCOMPARE(w.avatar().convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    QVERIFY(w.avatarCentred());
}

void TestForm2::modalOverTheMainWindow()
{
    MainWindow w;
    QSignalSpy opened(&w.form.accountCommands(), &Gui::AccountCommands::loginWindowOpened);
    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);

    QCOMPARE(opened.size(), 1);
    auto *login = opened.at(0).at(0).value<Gui::Form2 *>();
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

    const QPointer<Gui::Form2> window(login);
    login->close();
    QVERIFY(w.button("Command6")->isEnabled());
    QCOMPARE(w.button("Command6")->text(), u"登录会员"_s);
    QCOMPARE(w.form.windowTitle(), kProductTitle);
    QTRY_VERIFY(!window); // the next opening makes a new window
}

void TestForm2::logInAndOut()
{
    MainWindow w;
    QSignalSpy opened(&w.form.accountCommands(), &Gui::AccountCommands::loginWindowOpened);
    w.form.accountCommands().showLoggedIn(u"tester"_s);
    QCOMPARE(w.form.windowTitle(), kProductTitle + u"   登陆用户：tester"_s);
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

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
