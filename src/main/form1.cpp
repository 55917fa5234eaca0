#include "main/form1.h"

#include "main/statusbar.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

namespace MainUi {

namespace {

constexpr QSize kClientSize{898, 551};

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(VORLEN_VERSION_MAJOR).arg(VORLEN_VERSION_MINOR).arg(VORLEN_VERSION_PATCH);
}

} // namespace

Form1::Form1(Form1Setup setup, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_harvester(m_list, setup.endpoints)
    , m_messageBox(setup.messageBox ? std::move(setup.messageBox) : modalMessageBox(this))
    , m_now(setup.now ? std::move(setup.now) : TimeSource(&QTime::currentTime))
    , m_ui(createForm1Controls(*this, m_list))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(productTitle());
    setFixedSize(kClientSize);

    m_ui.s1->setPanelText(1, QStringLiteral("运行提示："));
    m_ui.s1->setPanelText(2, QStringLiteral("检测更新中.."));
    m_ui.s1->setPanelText(3, versionText());
    m_ui.s1->setPanelText(4, QStringLiteral("Time"));

    connectHarvester();
    connect(m_ui.command1, &QPushButton::clicked, this, &Form1::harvestCurrentPage);
    connect(m_ui.listView1, &QWidget::customContextMenuRequested, this, &Form1::showProgramMenu);
    connect(m_ui.timer1, &QTimer::timeout, this, &Form1::tickClock);
    m_ui.timer1->start();
}

void Form1::start()
{
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // exit() rather than quit(): it ends every running event loop of the thread at once,
    // nested waits of a harvest included, and makes later waits return at once, so the
    // harvest frames unwind before exec() returns.
    event->accept();
    QCoreApplication::exit(0);
}

void Form1::connectHarvester()
{
    connect(&m_harvester, &Harvest::Harvester::statusChanged, this, [this](const QString &text) {
        m_ui.s1->setPanelText(2, text);
    });
    connect(&m_harvester, &Harvest::Harvester::searchEnabledChanged, m_ui.command7, &QWidget::setEnabled);
    connect(&m_harvester, &Harvest::Harvester::exportEnabledChanged, m_ui.command4, &QWidget::setEnabled);
    connect(&m_harvester, &Harvest::Harvester::finished, this, &Form1::onHarvestFinished);
}

void Form1::harvestCurrentPage()
{
    m_harvester.harvestPage(m_currentPage);
}

void Form1::onHarvestFinished(const Harvest::HarvestResult &result)
{
    if (result.outcome == Harvest::HarvestOutcome::NoEntries)
        m_messageBox(QStringLiteral("未获取到任何资源"), MessageIcon::Information, messageTitle());
}

void Form1::showProgramMenu(const QPoint &position)
{
    m_ui.menu->popup(m_ui.listView1->viewport()->mapToGlobal(position));
}

void Form1::tickClock()
{
    m_ui.s1->setPanelText(4, clockText(m_now()));
}

} // namespace MainUi
