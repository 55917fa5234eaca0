#include "gui/clock.h"
#include "gui/mainwindow.h"
#include "gui/lockedheader.h"
#include "gui/pagenavigation.h"
#include "gui/statusbar.h"
#include "scriptedsite.h"
#include "support/recordedform.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

using Gui::MainWindow;
using Gui::MessageIcon;
using Gui::StatusBar;
using namespace std::string_view_literals;

namespace {

// A window started against site, whose version file names the current version.
struct StartedForm : RecordedForm
{
    explicit StartedForm(ScriptedSite &site)
        : RecordedForm(updateServerOf(site))
    {
        form.start();
    }

    static Config::Endpoints updateServerOf(ScriptedSite &site)
    {
        site.setPage("/version/main.txt", "360:V1.0|");
        Config::Endpoints endpoints = site.endpoints();
        endpoints.updateServer = endpoints.shareSite;
        return endpoints;
    }
};

// Drags the divider at the right edge of section from the header by dx pixels.
void dragDivider(QHeaderView &header, int section, int dx)
{
    const int x = header.sectionViewportPosition(section) + header.sectionSize(section) - 1;
    const int y = header.height() / 2;
    QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(x, y));
    QTest::mouseMove(header.viewport(), QPoint(x + dx / 2, y));
    QTest::mouseMove(header.viewport(), QPoint(x + dx, y));
    QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, QPoint(x + dx, y));
}

QList<int> sectionWidths(const QHeaderView &header)
{
    QList<int> widths;
    for (int i = 0; i < header.count(); ++i)
        widths.append(header.sectionSize(i));
    return widths;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void controlsAtOpening_data();
    void controlsAtOpening();
    void windowAndStatusBarAtOpening();
    void clockText_data();
    void clockText();
    void clockTicksOnceASecond();
    void programMenu();
    void userCannotResizeColumns();
    void command1FillsTheList();
    void pageWithoutEntries_data();
    void pageWithoutEntries();
    void profileWarning();
    void startUpOutcomes_data();
    void startUpOutcomes();
    void search_data();
    void search();
    void pageNavigation();
    void nextPageRefusedAt32767();
    void closingEndsAHarvestAtOnce(); // last: it asks the application to quit
};

void TestMainWindow::controlsAtOpening_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char *name, const QString &text, QRect geometry, bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << geometry << enabled;
    };
    row("ListView1", {}, {8, 8, 881, 369}, true);
    row("Command1", u"开始获取"_s, {304, 256, 145, 57}, true);
    row("Picture2", {}, {8, 384, 153, 105}, true);
    row("Label2", u"本程序只用于信息的采集与整理，获取到的资源均来自网络，内容与Vorlen及开发者无关"_s, {8, 16, 137, 73}, true);
    row("Picture1", {}, {168, 384, 257, 105}, true);
    row("Label1", u"请输入您要搜索的资源："_s, {8, 2, 154, 20}, true);
    row("Text1", {}, {8, 27, 233, 28}, false);
    row("Command7", u"开始搜索"_s, {8, 60, 233, 33}, false);
    row("Command2", u"直接获取"_s, {432, 384, 145, 33}, false);
    row("Command3", u"上一页"_s, {584, 384, 145, 33}, false);
    row("Command4", u"导出资源码"_s, {432, 424, 145, 33}, false);
    row("Command5", u"客服中心"_s, {584, 424, 145, 33}, false);
    row("Label3", u"获取第1页："_s, {432, 472, 66, 12}, true);
    row("Slider1", {}, {520, 464, 129, 33}, true);
    row("Command8", u"获取"_s, {656, 464, 73, 25}, true);
    row("Command6", u"登录会员"_s, {736, 384, 145, 105}, true);
    row("S1", {}, {0, 510, 898, 41}, true);
}

void TestMainWindow::controlsAtOpening()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    RecordedForm f({});
    QWidget *control = f.form.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->isEnabled(), enabled);
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), text);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        QCOMPARE(edit->text(), text);
}

void TestMainWindow::windowAndStatusBarAtOpening()
{
    RecordedForm f({});
    QCOMPARE(f.form.windowTitle(), u"Vorlen360云盘资源获取器 V1.0【VIP】"_s);
    QCOMPARE(f.form.minimumSize(), QSize(898, 551));
    QCOMPARE(f.form.maximumSize(), QSize(898, 551));
    QCOMPARE(f.form.currentPage(), qint16(0));

    const QStringList panels{u"运行提示："_s, u"检测更新中.."_s, u"1.0.5"_s, u"Time"_s};
    const QList<int> widths{96, 605, 96, 96};
    for (int panel = 1; panel <= 4; ++panel) {
        QCOMPARE(f.statusBar()->panelText(panel), panels.at(panel - 1));
        const auto *label = f.statusBar()->findChild<QLabel *>(u"panel"_s + QString::number(panel));
        QVERIFY(label);
        QVERIFY(qAbs(label->width() - widths.at(panel - 1)) <= 2);
    }

    auto *list = f.child<QTreeView>("ListView1");
    QCOMPARE(list->font().families().value(0), u"微软雅黑"_s);
    QCOMPARE(list->font().pointSizeF(), 9.75);
    QCOMPARE(f.child("Text1")->font().pointSizeF(), 10.5);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    // Command1 lies on the list and is drawn above it.
    QCOMPARE(f.form.childAt(f.child("Command1")->geometry().center()), f.child("Command1"));
    auto *slider = f.child<QSlider>("Slider1");
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 150);
    QCOMPARE(slider->value(), 1);
}

void TestMainWindow::clockText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight") << QTime(0, 0, 0) << u"0:0:0"_s;
    QTest::newRow("morning, no padding") << QTime(9, 5, 3) << u"9:5:3"_s;
    QTest::newRow("noon and seven") << QTime(12, 0, 7) << u"12:0:7"_s;
    QTest::newRow("last second") << QTime(23, 59, 59) << u"23:59:59"_s;
}

void TestMainWindow::clockText()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(Gui::clockText(time), text);
}

void TestMainWindow::clockTicksOnceASecond()
{
    RecordedForm f({}, QTime(0, 0, 0));
    const auto *timer = f.form.findChild<QTimer *>(u"Timer1"_s);
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QCOMPARE(f.statusBar()->panelText(4), u"Time"_s);
    QTRY_COMPARE_WITH_TIMEOUT(f.statusBar()->panelText(4), u"0:0:0"_s, 3000);
}

void TestMainWindow::programMenu()
{
    RecordedForm f({});
    auto *menu = f.form.findChild<QMenu *>(u"menu"_s);
    QVERIFY(menu);
    QCOMPARE(menu->title(), u"程序菜单"_s);
    QStringList entries;
    for (const QAction *action : menu->actions())
        entries.append(action->objectName() + u'=' + (action->isSeparator() ? u"-"_s : action->text()));
    QCOMPARE(entries, (QStringList{u"fz=复制资源"_s, u"x2=-"_s, u"dk=打开资源"_s, u"x1=-"_s, u"fzzym=复制资源码"_s,
                                   u"x3=-"_s, u"sz=设置..."_s, u"x4=-"_s, u"zyk=资源库"_s}));
    QCOMPARE(f.child("ListView1")->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestMainWindow::userCannotResizeColumns()
{
    // The same gestures on an ordinary header do resize: they reach the divider.
    QStandardItemModel model(1, 6);
    QTreeView plain;
    plain.setModel(&model);
    plain.header()->setStretchLastSection(false);
    plain.resize(900, 300);
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    const int before = plain.header()->sectionSize(1);
    dragDivider(*plain.header(), 1, 40);
    QVERIFY(plain.header()->sectionSize(1) != before);

    RecordedForm f({});
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QHeaderView &header = *f.child<QTreeView>("ListView1")->header();
    const QList<int> designed{67, 400, 96, 133, 0, 96};
    QCOMPARE(sectionWidths(header), designed);
    QVERIFY(header.isSectionHidden(4));
    for (int section : {0, 1, 3, 5}) {
        dragDivider(header, section, 50);
        dragDivider(header, section, -30);
        const QPoint divider(header.sectionViewportPosition(section) + header.sectionSize(section) - 1, header.height() / 2);
        QTest::mouseDClick(header.viewport(), Qt::LeftButton, {}, divider);
    }
    QCOMPARE(sectionWidths(header), designed);
    QVERIFY(header.isSectionHidden(4));
    QVERIFY(!header.sectionsMovable());
}

void TestMainWindow::command1FillsTheList()
{
    ScriptedSite site;
    site.addListing(0, 3);
    QVERIFY(site.start());
    RecordedForm f(site.endpoints());
    QStringList statusTexts;
    connect(f.statusBar(), &StatusBar::panelTextChanged, this, [&statusTexts](int panel, const QString &text) {
        if (panel == 2)
            statusTexts.append(text);
    });

    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);

    QCOMPARE(statusTexts, (QStringList{u"正在获取第0页资源.."_s, u"资源获取完毕,正在获取礼包码.."_s, u"礼包码获取完毕.."_s}));
    QCOMPARE(f.form.resultList().entries(),
             (QList<Harvest::ResourceEntry>{ScriptedSite::row(0, 1, true), ScriptedSite::row(0, 2, true),
                                            ScriptedSite::row(0, 3, true)}));
    QCOMPARE(f.child<QTreeView>("ListView1")->model()->rowCount(), 3);
    QVERIFY(f.child("Command4")->isEnabled());
    QVERIFY(f.child("Command7")->isEnabled());
    QVERIFY(f.child("Command1")->isEnabled());
    QVERIFY(f.messages.isEmpty());
    // A model reset leaves the columns locked.
    QCOMPARE(sectionWidths(*f.child<QTreeView>("ListView1")->header()), (QList<int>{67, 400, 96, 133, 0, 96}));
}

void TestMainWindow::pageWithoutEntries_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<bool>("message");
    QTest::addColumn<bool>("layoutHint"); // the status panel's tool tip
    QTest::newRow("no entries") << QByteArray("<html><p>暂无</p></html>") << true << false;
    QTest::newRow("empty listing") << QByteArray("") << false << false;
    QTest::newRow("nothing the profile knows") << QByteArray("<html><ul class='new-list'></ul></html>") << true << true;
}

void TestMainWindow::pageWithoutEntries()
{
    QFETCH(QByteArray, listing);
    QFETCH(bool, message);
    QFETCH(bool, layoutHint);
    ScriptedSite site;
    site.setPage("/act-0.html", listing.toStdString());
    QVERIFY(site.start());
    RecordedForm f(site.endpoints());

    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);

    QCOMPARE(f.messages.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(f.messages.at(0).text, u"未获取到任何资源"_s);
        QCOMPARE(f.messages.at(0).icon, MessageIcon::Information);
        QCOMPARE(f.messages.at(0).title, u"Vorlen系列软件"_s);
    }
    QCOMPARE(f.form.resultList().rowCount(), 0);
    QVERIFY(!f.child("Command4")->isEnabled());
    QVERIFY(f.child("Command7")->isEnabled());
    QCOMPARE(f.statusBar()->panelText(2), u"正在获取第0页资源.."_s);
    QCOMPARE(f.statusBar()->panelToolTip(2).contains(u"verify"_s), layoutHint);
}

// A refused profile file is named in a warning once the window is up; the window goes on.
void TestMainWindow::profileWarning()
{
    ScriptedSite site;
    QVERIFY(site.start());
    RecordedForm f(StartedForm::updateServerOf(site), QTime(9, 5, 3), u"--site-profile: p.json: entries.entryMarker: empty"_s);
    f.form.start();
    QTRY_COMPARE(f.statusBar()->panelText(2), u"欢迎使用Vorlen系列软件"_s);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.messages.at(0).text.endsWith(u"p.json: entries.entryMarker: empty"_s));
    QCOMPARE(f.messages.at(0).icon, MessageIcon::Warning);
}

void TestMainWindow::startUpOutcomes_data()
{
    QTest::addColumn<QByteArray>("versionFile"); // "refused": nobody listens
    QTest::addColumn<bool>("closeWhileWaiting"); // after a harvest inside the wait
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("announced"); // the forum opened and the program ended
    const QString failed = u"检测更新失败!请您稍后再试,暂时使用原版"_s;
    const QString newer = u"发现最新版本![V1.1]\r\n \r\n确定后自动打开官方论坛!"_s;
    QTest::newRow("current") << QByteArray("ok\r\n360:V1.0|\r\n") << false << true << QString() << false;
    QTest::newRow("newer") << QByteArray("360:V1.1|") << false << false << newer << true;
    QTest::newRow("error page") << QByteArray("<html><h1>502 Bad Gateway</h1></html>") << false << false << failed << false;
    QTest::newRow("request failed") << QByteArray("refused") << false << false << failed << false;
    QTest::newRow("window closed while waiting") << QByteArray("360:V1.1|") << true << false << QString() << false;
}

void TestMainWindow::startUpOutcomes()
{
    QFETCH(QByteArray, versionFile);
    QFETCH(bool, closeWhileWaiting);
    QFETCH(bool, unlocked);
    QFETCH(QString, message);
    QFETCH(bool, announced);
    ScriptedSite site;
    site.addListing(0, 1);
    site.setPage("/version/main.txt", versionFile.toStdString());
    QVERIFY(site.start());
    Config::Endpoints endpoints = site.endpoints();
    endpoints.updateServer = versionFile == "refused" ? ScriptedSite::closedSite() : endpoints.shareSite;
    endpoints.forum = u"http://forum.test/bbs/"_s;
    RecordedForm f(endpoints);
    QTimer poll;
    if (closeWhileWaiting) {
        site.holdBack("/version/main.txt");
        site.whenHolding(poll, [&] {
            QTest::mouseClick(f.child("Command1"), Qt::LeftButton);
            f.form.hide(); // what closing does to the window, without ending the test's event loop
            site.release();
        });
    }

    f.form.start();
    QVERIFY(f.checked());

    for (const char *name : {"Text1", "Command2", "Command3", "Command7"})
        QCOMPARE(f.child(name)->isEnabled(), unlocked || (closeWhileWaiting && name == "Command7"sv));
    if (unlocked)
        QCOMPARE(f.statusBar()->panelText(2), u"欢迎使用Vorlen系列软件"_s);
    if (!closeWhileWaiting && !announced) // the listing harvest works whatever the check found
        QTest::mouseClick(f.child("Command1"), Qt::LeftButton);
    QCOMPARE(f.form.resultList().rowCount(), announced ? 0 : 1);
    QCOMPARE(f.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(f.messages.at(0).text, message);
        QCOMPARE(f.messages.at(0).icon, announced ? MessageIcon::Information : MessageIcon::Warning);
        QCOMPARE(f.messages.at(0).title, u"Vorlen系列软件"_s);
    }
    QCOMPARE(f.openedUrls, announced ? QList<QUrl>{QUrl(u"http://forum.test/bbs"_s)} : QList<QUrl>());
    QCOMPARE(f.programEnds, announced ? 1 : 0);
}

void TestMainWindow::search_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QByteArray>("results"); // "rows": two entries
    QTest::addColumn<QString>("wd");         // as sent, unreserved characters plain; empty: refused
    QTest::addColumn<QString>("message");
    const QString tooShort = u"请输入最少两个字符"_s;
    QTest::newRow("empty") << QString() << QByteArray() << QString() << u"请输入要搜索的关键字"_s;
    QTest::newRow("one letter") << u"a"_s << QByteArray() << QString() << tooShort;
    QTest::newRow("one Chinese character") << u"书"_s << QByteArray() << QString() << tooShort;
    QTest::newRow("one character outside the basic plane") << u"\U00020000"_s << QByteArray() << QString() << tooShort;
    QTest::newRow("two Chinese characters") << u"中文"_s << QByteArray("rows") << u"%D6%D0%CE%C4"_s << QString();
    QTest::newRow("two spaces, nothing found")
        << u"  "_s << QByteArray("<html>无</html>") << u"%20%20"_s << u"未搜索到相关资源"_s;
    QTest::newRow("ab, empty results page") << u"ab"_s << QByteArray("") << u"ab"_s << QString();
}

// Searches after a step to page 1: the search must leave the page and Command2's caption alone.
void TestMainWindow::search()
{
    QFETCH(QString, keyword);
    QFETCH(QByteArray, results);
    QFETCH(QString, wd);
    QFETCH(QString, message);
    ScriptedSite site;
    site.addListing(1, 3);
    if (results == "rows")
        site.addListing(5, 2, "/");
    else
        site.setPage("/", results.toStdString());
    site.holdBack("/");
    QVERIFY(site.start());
    StartedForm f(site);
    QVERIFY(f.checked());
    QTest::mouseClick(f.child("Command2"), Qt::LeftButton);
    site.clearRequests();

    QStringList enabledWhileWaiting;
    QTimer poll;
    site.whenHolding(poll, [&] {
        for (const char *name : {"Command1", "Command2", "Command3", "Command4", "Command7", "Command8"}) {
            if (f.child(name)->isEnabled())
                enabledWhileWaiting.append(QLatin1String(name));
        }
        site.release();
    });
    qobject_cast<QLineEdit *>(f.child("Text1"))->setText(keyword);
    QTest::mouseClick(f.child("Command7"), Qt::LeftButton);

    QCOMPARE(f.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(f.messages.at(0).text, message);
    if (wd.isEmpty()) {
        QCOMPARE(f.statusBar()->panelText(2), message);
        QVERIFY(site.requestedPaths().isEmpty());
        QCOMPARE(f.form.resultList().rowCount(), 3); // page 1 stays
    } else {
        QCOMPARE(enabledWhileWaiting, (QStringList{u"Command1"_s, u"Command8"_s}));
        QCOMPARE(site.requestedTargets().value(0),
                 u"/?wd="_s + wd + u"&submit.x=49&submit.y=14&submit=%BF%AA%CA%BC%CB%D1%CB%F7"_s);
        QCOMPARE(f.form.resultList().rowCount(), results == "rows" ? 2 : 0);
        for (const char *name : {"Command2", "Command3", "Command4", "Command7"})
            QVERIFY2(f.child(name)->isEnabled(), name);
    }
    QCOMPARE(qobject_cast<QPushButton *>(f.child("Command2"))->text(), u"下一页"_s);
    QCOMPARE(f.form.currentPage(), qint16(1));
}

void TestMainWindow::pageNavigation()
{
    ScriptedSite site;
    for (int page : {0, 1, 37, 150, 151})
        site.addListing(page, 1);
    QVERIFY(site.start());
    StartedForm f(site);
    QVERIFY(f.checked());
    auto *next = qobject_cast<QPushButton *>(f.child("Command2"));
    auto *slider = f.child<QSlider>("Slider1");
    // Clicks button and returns the listing pages fetched, and the messages shown, meanwhile.
    auto click = [&](QWidget *button) {
        site.clearRequests();
        f.messages.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QStringList seen = site.requestedPaths().filter(u"/act-"_s);
        for (const RecordedForm::Message &message : std::as_const(f.messages))
            seen.append(message.text);
        return seen;
    };
    QWidget *previous = f.child("Command3");
    QWidget *fetchPicked = f.child("Command8");

    QCOMPARE(click(previous), QStringList{u"已经是第一页了"_s});
    QCOMPARE(click(next), QStringList{u"/act-1.html"_s});
    QCOMPARE(next->text(), u"下一页"_s);
    QCOMPARE(click(previous), QStringList{u"/act-0.html"_s});
    QCOMPARE(next->text(), u"下一页"_s);
    QCOMPARE(click(previous), QStringList{u"已经是第一页了"_s});
    QCOMPARE(next->text(), u"直接获取"_s);
    QCOMPARE(click(fetchPicked), QStringList{u"/act-1.html"_s});

    site.clearRequests();
    slider->setValue(37);
    QCOMPARE(f.child<QLabel>("Label3")->text(), u"获取第37页："_s);
    QCOMPARE(f.statusBar()->panelText(2), u"准备获取第37页"_s);
    QVERIFY(site.requestedPaths().isEmpty());
    QCOMPARE(click(fetchPicked), QStringList{u"/act-37.html"_s});
    QCOMPARE(next->text(), u"直接获取"_s);

    slider->setValue(150);
    QCOMPARE(click(fetchPicked), QStringList{u"/act-150.html"_s});
    QCOMPARE(click(next), QStringList{u"/act-151.html"_s});
    QCOMPARE(f.form.currentPage(), qint16(151));
    QCOMPARE(slider->value(), 150);
}

void TestMainWindow::nextPageRefusedAt32767()
{
    QWidget window;
    QStandardItemModel model;
    const Gui::MainWindowControls controls = Gui::createMainWindowControls(window, model);
    controls.nextPageButton->setEnabled(true);
    controls.previousPageButton->setEnabled(true);
    QList<MessageIcon> messages;
    const Gui::MessageBoxSeam messageBox = [&messages](const QString &, MessageIcon icon, const QString &) { messages.append(icon); };
    qint16 page = 32767;
    QList<qint16> harvested;
    const Gui::PageNavigation navigation(page, controls, messageBox, [&] { harvested.append(page); });

    for (QPushButton *button : {controls.nextPageButton, controls.previousPageButton, controls.nextPageButton})
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(messages, QList<MessageIcon>{MessageIcon::Information}); // the first click only
    QCOMPARE(harvested, (QList<qint16>{32766, 32767}));
}

void TestMainWindow::closingEndsAHarvestAtOnce()
{
    ScriptedSite site;
    site.addListing(0, 3);
    site.holdBack("/act-0.html"); // answered only after 10 s
    QVERIFY(site.start());
    RecordedForm f(site.endpoints());
    f.form.show();

    QTimer poll;
    connect(&poll, &QTimer::timeout, &f.form, [&] {
        if (site.isHolding()) {
            poll.stop();
            f.form.close();
        }
    });
    poll.start(5);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);

    QVERIFY2(clock.elapsed() < 3000, "the harvest kept waiting after the window closed");
    QVERIFY(!f.form.isVisible());
    QCOMPARE(f.form.resultList().rowCount(), 0);
    QVERIFY(f.messages.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
