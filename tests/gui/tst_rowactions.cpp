#include "net/networkaccess.h"
#include "scriptedsite.h"
#include "support/recordedform.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

using namespace Qt::StringLiterals;
using Harvest::ResourceEntry;

namespace {

ResourceEntry entry(int i, const QString &shareCode, const QString &extractionCode)
{
    const QString n = QString::number(i);
    return {n, u"资源"_s + n, n + u"个文件"_s, shareCode, u"id"_s + n, extractionCode};
}

ResourceEntry fetched(int i)
{
    return entry(i, u"s/"_s + QString::number(i), u"c"_s + QString::number(i));
}

// rows numbered 1..n, as the list numbers them after a hide.
QList<ResourceEntry> renumbered(QList<ResourceEntry> rows)
{
    for (int i = 0; i < rows.size(); ++i)
        rows[i].number = QString::number(i + 1);
    return rows;
}

// A shown window on a share prefix, holding rows, with row `selected` selected (-1: none).
struct ListForm : RecordedForm
{
    ListForm(const QList<ResourceEntry> &rows, int selected)
        : RecordedForm(endpoints())
    {
        form.resultList().append(rows);
        form.show();
        if (selected >= 0)
            selectRow(selected);
        QGuiApplication::clipboard()->setText(u"kept"_s);
    }

    static Config::Endpoints endpoints()
    {
        Config::Endpoints endpoints = Config::Endpoints::defaults();
        endpoints.sharePrefix = u"http://yunpan.test/"_s;
        return endpoints;
    }

    QTreeView *view() { return child<QTreeView>("ListView1"); }

    // Runs an action as the user would: a menu entry, a double click, or a key on the list.
    void trigger(const QString &how)
    {
        QWidget *viewport = view()->viewport();
        const QPoint firstRow = view()->visualRect(view()->model()->index(0, 1)).center();
        if (how.startsWith(u"double click")) {
            // The first click of a double click selects what it hits.
            const QPoint at = how.endsWith(u"row") ? firstRow : QPoint(200, viewport->height() - 5);
            QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        } else if (auto *entry = form.findChild<QAction *>(how))
            entry->trigger();
        else
            QTest::keyClick(view(), QKeySequence(how)[0].key(), QKeySequence(how)[0].keyboardModifiers());
    }
};

} // namespace

class TestRowActions : public QObject
{
    Q_OBJECT

private slots:
    void menuOpensAtTheMouse();
    void guards_data();
    void guards();
    void actions_data();
    void actions();
    void hidingLeavesNoRowSelected_data();
    void hidingLeavesNoRowSelected();
    void hidingDuringDetailPassKeepsCodesOnTheirRows();
};

void TestRowActions::menuOpensAtTheMouse()
{
    ListForm f({fetched(1)}, 0);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    const QPoint at(40, 30);
    // What the window system turns a right button press into.
    QContextMenuEvent press(QContextMenuEvent::Mouse, at, f.view()->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(f.view()->viewport(), &press);
    auto *menu = f.form.findChild<QMenu *>(u"menu"_s);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), f.view()->viewport()->mapToGlobal(at));
    menu->close();
}

void TestRowActions::guards_data()
{
    QTest::addColumn<QList<ResourceEntry>>("rows");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message");
    const QString fetchFirst = u"请先获取资源"_s;
    for (const QString &how : {u"fz"_s, u"dk"_s, u"fzzym"_s, u"double click below the rows"_s})
        QTest::addRow("empty list, %s", qPrintable(how)) << QList<ResourceEntry>{} << -1 << how << fetchFirst;
    QTest::newRow("empty list, F6") << QList<ResourceEntry>{} << -1 << u"F6"_s << u"请获取礼包后再进行隐藏"_s;
    QTest::newRow("nothing selected, fz") << QList{fetched(1)} << -1 << u"fz"_s << fetchFirst;
    QTest::newRow("nothing selected, F6") << QList{fetched(1)} << -1 << u"F6"_s << u"请获取礼包后再进行隐藏"_s;
    const QList unread{entry(1, {}, u"c1"_s)};
    QTest::newRow("code not read, fzzym") << unread << 0 << u"fzzym"_s << fetchFirst;
    QTest::newRow("code not read, F6") << unread << 0 << u"F6"_s << u"请获取礼包后再进行隐藏"_s;
}

void TestRowActions::guards()
{
    QFETCH(QList<ResourceEntry>, rows);
    QFETCH(int, selected);
    QFETCH(QString, how);
    QFETCH(QString, message);
    ListForm f(rows, selected);

    f.trigger(how);

    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.messages.at(0).text, message);
    QCOMPARE(f.messages.at(0).icon, Gui::MessageIcon::Information);
    QCOMPARE(f.messages.at(0).title, u"Vorlen系列软件"_s);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"kept"_s);
    QVERIFY(f.openedUrls.isEmpty());
    QCOMPARE(f.form.resultList().entries(), rows);
    QCOMPARE(f.statusBar()->panelText(2), u"检测更新中.."_s);
}

void TestRowActions::actions_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("extractionCode"); // of the first row
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QUrl>("opened");
    QTest::addColumn<QList<int>>("left");
    const QString copied = u"提取码已复制.."_s, hidden = u"礼包已隐藏"_s, idle = u"检测更新中.."_s;
    const QString share = u"资源地址：http://yunpan.test/s/1\r\n提取码："_s;
    auto row = [](const char *name, int count, int selected, const QString &how, const QString &code) -> QTestData & {
        return QTest::newRow(name) << count << selected << how << code;
    };
    row("fz", 2, 0, u"fz"_s, u"c1"_s) << share + u"c1"_s << u"资源及提取码已复制.."_s << QUrl() << QList{1, 2};
    row("fz, no code", 2, 0, u"fz"_s, {}) << share << u"资源及提取码已复制.."_s << QUrl() << QList{1, 2};
    row("fzzym", 2, 0, u"fzzym"_s, u"c1"_s) << u"c1"_s << copied << QUrl() << QList{1, 2};
    row("fzzym, no code", 2, 0, u"fzzym"_s, {}) << QString() << copied << QUrl() << QList{1, 2};
    row("double click", 2, 1, u"double click on the row"_s, u"c1"_s) << u"c1"_s << copied << QUrl() << QList{1, 2};
    row("double click below", 2, 0, u"double click below the rows"_s, u"c1"_s) << u"c1"_s << copied << QUrl() << QList{1, 2};
    row("dk", 2, 0, u"dk"_s, u"c1"_s) << u"kept"_s << idle << QUrl(u"http://yunpan.test/s/1"_s) << QList{1, 2};
    row("F6, only row", 1, 0, u"F6"_s, u"c1"_s) << u"kept"_s << hidden << QUrl() << QList<int>{};
    row("F6, second of five", 5, 1, u"F6"_s, u"c1"_s) << u"kept"_s << hidden << QUrl() << QList{1, 3, 4, 5};
    row("Shift+F6", 3, 1, u"Shift+F6"_s, u"c1"_s) << u"kept"_s << hidden << QUrl() << QList{1, 3};
    row("Ctrl+F6", 3, 2, u"Ctrl+F6"_s, u"c1"_s) << u"kept"_s << hidden << QUrl() << QList{1, 2};
    row("Delete", 3, 1, u"Del"_s, u"c1"_s) << u"kept"_s << idle << QUrl() << QList{1, 2, 3};
}

void TestRowActions::actions()
{
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(QString, how);
    QFETCH(QString, extractionCode);
    QFETCH(QString, clipboard);
    QFETCH(QString, status);
    QFETCH(QUrl, opened);
    QFETCH(QList<int>, left);
    QList<ResourceEntry> rows{entry(1, u"s/1"_s, extractionCode)};
    for (int i = 2; i <= count; ++i)
        rows.append(fetched(i));
    ListForm f(rows, selected);

    f.trigger(how);

    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QCOMPARE(f.statusBar()->panelText(2), status);
    QCOMPARE(f.openedUrls, opened.isEmpty() ? QList<QUrl>{} : QList{opened});
    QList<ResourceEntry> expected;
    for (int i : left)
        expected.append(rows.at(i - 1));
    QCOMPARE(f.form.resultList().entries(), renumbered(expected));
    QVERIFY(f.messages.isEmpty());
}

void TestRowActions::hidingLeavesNoRowSelected_data()
{
    QTest::addColumn<QList<bool>>("autoRepeats"); // one F6 press each
    QTest::addColumn<int>("refusals");
    QTest::newRow("pressed twice") << QList{false, false} << 1;
    QTest::newRow("held down") << QList{false, true, true, true} << 0;
}

void TestRowActions::hidingLeavesNoRowSelected()
{
    QFETCH(QList<bool>, autoRepeats);
    QFETCH(int, refusals);
    const QList rows{fetched(1), fetched(2), fetched(3)};
    ListForm f(rows, 0);

    for (bool autoRepeat : autoRepeats) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(f.view(), &press);
    }

    QCOMPARE(f.form.resultList().entries(), renumbered({rows.at(1), rows.at(2)}));
    QVERIFY(f.view()->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(f.messages.size(), refusals);
    QVERIFY(std::ranges::all_of(f.messages, [](const auto &m) { return m.text == u"请获取礼包后再进行隐藏"; }));
}

void TestRowActions::hidingDuringDetailPassKeepsCodesOnTheirRows()
{
    ScriptedSite site;
    site.addListing(0, 4);
    site.holdBack("/id-" + ScriptedSite::entryId(0, 3).toStdString() + ".html");
    QVERIFY(site.start());
    RecordedForm f(site.endpoints());
    f.form.show();

    // Hide the first row, already read, while the third row's detail page is on its way.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!site.isHolding())
            return;
        poll.stop();
        f.selectRow(0);
        QTest::keyClick(f.child("ListView1"), Qt::Key_F6);
        site.release();
    });
    poll.start(5);
    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);

    const QList<ResourceEntry> expected{ScriptedSite::row(0, 2, true), ScriptedSite::row(0, 3, true), ScriptedSite::row(0, 4, true)};
    QCOMPARE(f.form.resultList().entries(), renumbered(expected));
    QCOMPARE(f.statusBar()->panelText(2), u"礼包码获取完毕.."_s);
    QVERIFY(f.child("Command4")->isEnabled());
    QVERIFY(f.messages.isEmpty());
}

QTEST_MAIN(TestRowActions)
#include "tst_rowactions.moc"
