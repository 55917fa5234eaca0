#include "gui/mainwindow.h"

#include "config/productinfo.h"
#include "config/settingsfile.h"
#include "library/sharetemplate.h"
#include "gui/statusbar.h"
#include "harvest/entryparser.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

namespace Gui {

namespace {

constexpr QSize kClientSize{898, 551};

} // namespace

MainWindow::MainWindow(MainWindowSetup setup, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_endpoints(std::move(setup.endpoints))
    , m_harvester(m_list, m_endpoints)
    , m_marks(m_list, setup.library, m_endpoints)
    , m_messageBox(setup.messageBox ? setup.messageBox : modalMessageBox(this))
    , m_now(setup.now ? std::move(setup.now) : TimeSource(&QTime::currentTime))
    , m_openUrl(setup.openUrl ? std::move(setup.openUrl) : systemBrowser())
    , m_ui(createMainWindowControls(*this, m_marks))
    , m_runLocks(m_harvester, m_ui)
    , m_rowActions(m_ui, m_list, m_endpoints, m_messageBox, m_openUrl)
    , m_export(*m_ui.exportButton, m_list, setup.saveFile ? std::move(setup.saveFile) : saveFileDialog(this), m_messageBox)
    // The login windows get the given seam, or none: then their boxes stand over them.
    , m_account(*this, *m_ui.accountButton, m_endpoints, {{}, m_now, m_openUrl, setup.messageBox}, m_messageBox)
    , m_updateCheck(m_endpoints, m_ui, *this, m_messageBox, m_openUrl, std::move(setup.endProgram))
    , m_navigation(m_currentPage, m_ui, m_messageBox, [this] { harvestCurrentPage(); })
    , m_search(m_harvester, m_ui, m_messageBox)
    , m_profileWarning(std::move(setup.profileWarning))
    , m_libraryNotice(std::move(setup.libraryNotice))
    , m_libraryError(std::move(setup.libraryError))
    , m_settings(*this, *m_ui.settingsAction, m_endpoints, setup.settings, m_messageBox)
    , m_library(*this, *m_ui.libraryAction,
                {setup.library, Library::defaultShareTemplate(m_endpoints.profile),
                 windowStatePath(setup.settings.file.isEmpty() ? Config::defaultSettingsPath() : setup.settings.file),
                 setup.messageBox, {}, m_openUrl, {}, &m_endpoints})
    , m_recording(m_harvester, setup.library, m_endpoints.sharePrefix,
                  [this](const QString &warning) { m_ui.statusBar->setPanelText(MainStatusPanel, warning); })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Config::productTitle());
    setFixedSize(kClientSize);

    m_ui.statusBar->setPanelText(MainCaptionPanel, QStringLiteral("运行提示："));
    m_ui.statusBar->setPanelText(MainStatusPanel, QStringLiteral("检测更新中.."));
    m_ui.statusBar->setPanelText(MainVersionPanel, Config::productVersion());
    m_ui.statusBar->setPanelText(MainClockPanel, QStringLiteral("Time"));

    connectHarvester();
    connect(m_ui.harvestButton, &QPushButton::clicked, this, &MainWindow::harvestCurrentPage);
    connect(m_ui.resultView, &QWidget::customContextMenuRequested, this, &MainWindow::showProgramMenu);
    connect(m_ui.clockTimer, &QTimer::timeout, this, &MainWindow::tickClock);
    connect(&m_settings, &SettingsCommand::endpointsChanged, this, [this] {
        m_harvester.setEndpoints(m_endpoints);
        m_recording.setSharePrefix(m_endpoints.sharePrefix);
    });
    // A window open on the library shows what a run has just recorded.
    connect(&m_harvester, &Harvest::Harvester::finished, this, [this](const Harvest::HarvestResult &result) {
        if (LibraryWindow *window = m_library.window(); window && result.outcome == Harvest::HarvestOutcome::Rows)
            window->refresh();
    });
    m_ui.clockTimer->start();
}

void MainWindow::start()
{
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    QTimer::singleShot(0, this, &MainWindow::showStartMessages);
    // Queued, so that ending the program after an update announcement ends the event loop.
    QTimer::singleShot(0, this, [this] {
        if (m_updateCheck.run() == Net::VersionStatus::Unreadable && isVisible())
            m_settings.offerOnce();
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // exit() rather than quit(): it ends every running event loop of the thread at once,
    // nested waits of a harvest included, and makes later waits return at once, so the
    // harvest frames unwind before exec() returns.
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::connectHarvester()
{
    connect(&m_harvester, &Harvest::Harvester::statusChanged, this, [this](const QString &text) {
        m_ui.statusBar->setPanelText(MainStatusPanel, text);
    });
    connect(&m_harvester, &Harvest::Harvester::finished, this, &MainWindow::onHarvestFinished);
}

void MainWindow::harvestCurrentPage()
{
    m_harvester.harvestPage(m_currentPage);
}

void MainWindow::onHarvestFinished(const Harvest::HarvestResult &result)
{
    if (result.outcome == Harvest::HarvestOutcome::Superseded)
        return;
    // A hint beside the status, which keeps its usual text.
    m_ui.statusBar->setPanelToolTip(MainStatusPanel, result.probableLayoutChange ? Harvest::kLayoutChangeHint.toString() : QString());
    if (result.outcome == Harvest::HarvestOutcome::NoEntries && result.kind == Harvest::RunKind::Listing)
        m_messageBox(QStringLiteral("未获取到任何资源"), MessageIcon::Information, messageTitle());
}

void MainWindow::showStartMessages()
{
    if (!m_profileWarning.isEmpty())
        m_messageBox(QStringLiteral("站点配置文件无法使用，程序继续使用内置的站点配置：\n") + m_profileWarning,
                     MessageIcon::Warning, messageTitle());
    if (!m_libraryError.isEmpty())
        m_messageBox(QStringLiteral("资源库无法打开，本次运行不记录获取到的资源：\n") + m_libraryError, MessageIcon::Warning,
                     messageTitle());
    if (!m_libraryNotice.isEmpty())
        m_messageBox(QStringLiteral("资源库：") + m_libraryNotice, MessageIcon::Information, messageTitle());
}

void MainWindow::showProgramMenu(const QPoint &position)
{
    m_ui.programMenu->popup(m_ui.resultView->viewport()->mapToGlobal(position));
}

void MainWindow::tickClock()
{
    m_ui.statusBar->setPanelText(MainClockPanel, clockText(m_now()));
}

} // namespace Gui
