#include "gui/form1.h"
#include "gui/form2.h"
#include "gui/statusbar.h"
#include "net/networkaccess.h"
#include "support/closedport.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Gui::AccountCommands;
using Gui::MessageIcon;

namespace {

struct Message
{
    QString text;
    MessageIcon icon;
    QString title;
};

// A main window on an unreachable forum, its message boxes recorded, shown on the screen.
struct MainWindow
{
    MainWindow()
        : form(setup(messages))
    {
        form.show();
    }

    static Gui::Form1Setup setup(QList<Message> &messages)
    {
        Gui::Form1Setup s;
        s.endpoints = Net::Endpoints::defaults();
        s.endpoints.forum = u"http://127.0.0.1:%1/"_s.arg(closedPort());
        s.endpoints.shareSite = s.endpoints.forum;
        s.messageBox = [&messages](const QString &text, MessageIcon icon, const QString &title) {
            messages.append({text, icon, title});
        };
        return s;
    }

    QPushButton *button(const char *name) { return form.findChild<QPushButton *>(QLatin1String(name)); }

    QList<Message> messages;
    Gui::Form1 form;
};

const QString kProductTitle = u"Vorlen360云盘资源获取器 V1.0【VIP】"_s;

} // namespace

class TestAccountCommands : public QObject
{
    Q_OBJECT

private slots:
    void loginWindowIsModalAndItsCloseEnablesCommand6();
    void logInAndOut();
};

void TestAccountCommands::loginWindowIsModalAndItsCloseEnablesCommand6()
{
    MainWindow w;
    QSignalSpy opened(&w.form.accountCommands(), &AccountCommands::loginWindowOpened);
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

void TestAccountCommands::logInAndOut()
{
    MainWindow w;
    QSignalSpy opened(&w.form.accountCommands(), &AccountCommands::loginWindowOpened);
    w.form.accountCommands().showLoggedIn(u"tester"_s);
    QCOMPARE(w.form.windowTitle(), kProductTitle + u"   登陆用户：tester"_s);
    QCOMPARE(w.button("Command6")->text(), u"注销登录"_s);
    QVERIFY(w.form.accountCommands().isLoggedIn());

    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);

    QCOMPARE(opened.size(), 0);
    QCOMPARE(w.form.windowTitle(), kProductTitle);
    QCOMPARE(w.button("Command6")->text(), u"登录会员"_s);
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(w.messages.at(0).text, u"注销成功!"_s);
    QCOMPARE(w.messages.at(0).icon, MessageIcon::Information);
    QCOMPARE(w.messages.at(0).title, u"Vorlen系列软件"_s);
}

QTEST_MAIN(TestAccountCommands)
#include "tst_accountcommands.moc"
