#include "gui/mainwindowcontrols.h"

#include "gui/lockedheader.h"
#include "gui/placement.h"
#include "gui/statusbar.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    return place(new QPushButton(text, parent), name, geometry);
}

QFrame *panel(QWidget *parent, const char *name, QRect geometry)
{
    auto *frame = place(new QFrame(parent), name, geometry);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return frame;
}

QTreeView *resultView(QWidget &form, QAbstractItemModel &model)
{
    auto *view = place(new QTreeView(&form), "ListView1", twips(120, 120, 13215, 5535));
    auto *header = new LockedHeader(view);
    view->setHeader(header);
    view->setModel(&model);
    lockColumns(*header);
    view->setFont(cjkFont(9.75));
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    return view;
}

QAction *named(QAction *action, const char *name)
{
    action->setObjectName(QLatin1String(name));
    return action;
}

void createProgramMenu(QWidget &form, MainWindowControls &c)
{
    c.programMenu = new QMenu(u"程序菜单"_s, &form);
    c.programMenu->setObjectName(u"menu"_s);
    c.copyShareAction = named(c.programMenu->addAction(u"复制资源"_s), "fz");
    named(c.programMenu->addSeparator(), "x2");
    c.openShareAction = named(c.programMenu->addAction(u"打开资源"_s), "dk");
    named(c.programMenu->addSeparator(), "x1");
    c.copyCodeAction = named(c.programMenu->addAction(u"复制资源码"_s), "fzzym");
    named(c.programMenu->addSeparator(), "x3");
    c.settingsAction = named(c.programMenu->addAction(u"设置..."_s), "sz");
    c.settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    named(c.programMenu->addSeparator(), "x4");
    c.libraryAction = named(c.programMenu->addAction(u"资源库"_s), "zyk");
    c.libraryAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    form.addActions({c.settingsAction, c.libraryAction}); // so the shortcuts work on the whole window
}

} // namespace

MainWindowControls createMainWindowControls(QWidget &form, QAbstractItemModel &model)
{
    MainWindowControls c{};
    form.setFont(cjkFont(9));
    c.resultView = resultView(form, model);
    c.harvestButton = button(&form, "Command1", QStringLiteral("开始获取"), twips(4560, 3840, 2175, 855));
    c.harvestButton->raise();

    c.disclaimerPanel = panel(&form, "Picture2", twips(120, 5760, 2295, 1575));
    c.disclaimerLabel = place(new QLabel(QStringLiteral("本程序只用于信息的采集与整理，获取到的资源均来自网络，内容与Vorlen及开发者无关"),
                                c.disclaimerPanel),
                     "Label2", twips(120, 240, 2055, 1095));
    c.disclaimerLabel->setWordWrap(true);
    c.disclaimerLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    c.searchPanel = panel(&form, "Picture1", twips(2520, 5760, 3855, 1575));
    c.keywordLabel = place(new QLabel(QStringLiteral("请输入您要搜索的资源："), c.searchPanel), "Label1", twips(120, 30, 2310, 300));
    c.keywordLabel->setFont(cjkFont(10.5));
    c.keywordEdit = place(new QLineEdit(c.searchPanel), "Text1", twips(120, 400, 3495, 420));
    c.keywordEdit->setFont(cjkFont(10.5));
    c.searchButton = button(c.searchPanel, "Command7", QStringLiteral("开始搜索"), twips(120, 900, 3495, 495));

    c.nextPageButton = button(&form, "Command2", QStringLiteral("直接获取"), twips(6480, 5760, 2175, 495));
    c.previousPageButton = button(&form, "Command3", QStringLiteral("上一页"), twips(8760, 5760, 2175, 495));
    c.exportButton = button(&form, "Command4", QStringLiteral("导出资源码"), twips(6480, 6360, 2175, 495));
    c.serviceButton = button(&form, "Command5", QStringLiteral("客服中心"), twips(8760, 6360, 2175, 495));
    c.pickedPageLabel = place(new QLabel(QStringLiteral("获取第1页："), &form), "Label3", twips(6480, 7080, 990, 180));
    c.pageSlider = place(new QSlider(Qt::Horizontal, &form), "Slider1", twips(7800, 6960, 1935, 495));
    c.pageSlider->setRange(1, 150);
    c.pageSlider->setValue(1);
    c.fetchPickedPageButton = button(&form, "Command8", QStringLiteral("获取"), twips(9840, 6960, 1095, 375));
    c.accountButton = button(&form, "Command6", QStringLiteral("登录会员"), twips(11040, 5760, 2175, 1575));

    c.statusBar = place(new StatusBar(&form), "S1", twips(0, 7650, 13470, 615));
    c.clockTimer = new QTimer(&form);
    c.clockTimer->setObjectName(QStringLiteral("Timer1"));
    c.clockTimer->setInterval(1000);
    createProgramMenu(form, c);

    // Search and page buttons wait for the update check, export for a harvest; nothing enables 5.
    for (QWidget *locked : std::initializer_list<QWidget *>{c.keywordEdit, c.nextPageButton, c.previousPageButton, c.exportButton, c.serviceButton, c.searchButton})
        locked->setEnabled(false);
    return c;
}

} // namespace Gui
