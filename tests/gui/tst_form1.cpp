#include "gui/clock.h"
#include "gui/form1.h"
#include "gui/lockedheader.h"
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

using Gui::Form1;
using Gui::MessageIcon;
using Gui::StatusBar;

namespace {

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

class TestForm1 : public QObject
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
    void closingEndsAHarvestAtOnce(); // last: it asks the application to quit
};

void TestForm1::controlsAtOpening_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char *name, const QString &text, QRect geometry, bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << geometry << enabled;
    };
    row("ListView1", {}, {8, 8, 881, 369}, true);
    row("Command1", u"开始获取"_qs, {304, 256, 145, 57}, true);
    row("Picture2", {}, {8, 384, 153, 105}, true);
    row("Label2", u"本程序只用于信息的采集与整理，获取到的资源均来自网络，内容与Vorlen及开发者无关"_qs, {8, 16, 137, 73}, true);
    row("Picture1", {}, {168, 384, 257, 105}, true);
    row("Label1", u"请输入您要搜索的资源："_qs, {8, 2, 154, 20}, true);
    row("Text1", {}, {8, 27, 233, 28}, false);
    row("Command7", u"开始搜索"_qs, {8, 60, 233, 33}, false);
    row("Command2", u"直接获取"_qs, {432, 384, 145, 33}, false);
    row("Command3", u"上一页"_qs, {584, 384, 145, 33}, false);
    row("Command4", u"导出资源码"_qs, {432, 424, 145, 33}, false);
    row("Command5", u"客服中心"_qs, {584, 424, 145, 33}, false);
    row("Label3", u"获取第1页："_qs, {432, 472, 66, 12}, true);
    row("Slider1", {}, {520, 464, 129, 33}, true);
    row("Command8", u"获取"_qs, {656, 464, 73, 25}, true);
    row("Command6", u"登录会员"_qs, {736, 384, 145, 105}, true);
    row("S1", {}, {0, 510, 898, 41}, true);
}

void TestForm1::controlsAtOpening()
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

void TestForm1::windowAndStatusBarAtOpening()
{
    RecordedForm f({});
    QCOMPARE(f.form.windowTitle(), u"Vorlen360云盘资源获取器 V1.0【VIP】"_qs);
    QCOMPARE(f.form.minimumSize(), QSize(898, 551));
    QCOMPARE(f.form.maximumSize(), QSize(898, 551));
    QCOMPARE(f.form.currentPage(), qint16(0));

    const QStringList panels{u"运行提示："_qs, u"检测更新中.."_qs, u"1.0.5"_qs, u"Time"_qs};
    const QList<int> widths{96, 605, 96, 96};
    for (int panel = 1; panel <= 4; ++panel) {
        QCOMPARE(f.statusBar()->panelText(panel), panels.at(panel - 1));
        const auto *label = f.statusBar()->findChild<QLabel *>(u"panel"_qs + QString::number(panel));
        QVERIFY(label);
        QVERIFY(qAbs(label->width() - widths.at(panel - 1)) <= 2);
    }

    auto *list = f.child<QTreeView>("ListView1");
    QCOMPARE(list->font().families().value(0), u"微软雅黑"_qs);
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

void TestForm1::clockText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight") << QTime(0, 0, 0) << u"0:0:0"_qs;
    QTest::newRow("morning, no padding") << QTime(9, 5, 3) << u"9:5:3"_qs;
    QTest::newRow("noon and seven") << QTime(12, 0, 7) << u"12:0:7"_qs;
    QTest::newRow("last second") << QTime(23, 59, 59) << u"23:59:59"_qs;
}

void TestForm1::clockText()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(Gui::clockText(time), text);
}

void TestForm1::clockTicksOnceASecond()
{
    RecordedForm f({}, QTime(0, 0, 0));
    const auto *timer = f.form.findChild<QTimer *>(u"Timer1"_qs);
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QCOMPARE(f.statusBar()->panelText(4), u"Time"_qs);
    QTRY_COMPARE_WITH_TIMEOUT(f.statusBar()->panelText(4), u"0:0:0"_qs, 3000);
}

void TestForm1::programMenu()
{
    RecordedForm f({});
    auto *menu = f.form.findChild<QMenu *>(u"menu"_qs);
    QVERIFY(menu);
    QCOMPARE(menu->title(), u"程序菜单"_qs);
    QStringList entries;
    for (const QAction *action : menu->actions())
        entries.append(action->objectName() + u'=' + (action->isSeparator() ? u"-"_qs : action->text()));
    QCOMPARE(entries, (QStringList{u"fz=复制资源"_qs, u"x2=-"_qs, u"dk=打开资源"_qs, u"x1=-"_qs, u"fzzym=复制资源码"_qs}));
    QCOMPARE(f.child("ListView1")->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestForm1::userCannotResizeColumns()
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

void TestForm1::command1FillsTheList()
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

    QCOMPARE(statusTexts, (QStringList{u"正在获取第0页资源.."_qs, u"资源获取完毕,正在获取礼包码.."_qs, u"礼包码获取完毕.."_qs}));
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

void TestForm1::pageWithoutEntries_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<bool>("message");
    QTest::newRow("no entries") << QByteArray("<html><p>暂无</p></html>") << true;
    QTest::newRow("empty listing") << QByteArray("") << false;
}

void TestForm1::pageWithoutEntries()
{
    QFETCH(QByteArray, listing);
    QFETCH(bool, message);
    ScriptedSite site;
    site.setPage("/act-0.html", listing.toStdString());
    QVERIFY(site.start());
    RecordedForm f(site.endpoints());

    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);

    QCOMPARE(f.messages.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(f.messages.at(0).text, u"未获取到任何资源"_qs);
        QCOMPARE(f.messages.at(0).icon, MessageIcon::Information);
        QCOMPARE(f.messages.at(0).title, u"Vorlen系列软件"_qs);
    }
    QCOMPARE(f.form.resultList().rowCount(), 0);
    QVERIFY(!f.child("Command4")->isEnabled());
    QVERIFY(f.child("Command7")->isEnabled());
    QCOMPARE(f.statusBar()->panelText(2), u"正在获取第0页资源.."_qs);
}

void TestForm1::closingEndsAHarvestAtOnce()
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

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
