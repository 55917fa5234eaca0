#include "gui/librarywindow.h"

#include "gui/librarybatch.h"
#include "gui/librarytexts.h"
#include "library/sharetemplate.h"
#include "library/store.h"
#include "library/watches.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

constexpr std::array kStates{Crawl::LinkState::Live, Crawl::LinkState::Locked, Crawl::LinkState::Dead,
                             Crawl::LinkState::Limited, Crawl::LinkState::Unknown};

// The first day the date filter offers; showing it means "any day".
const QDate kAnyDay(2000, 1, 1);

// Where a watch source item of the source filter keeps the watch's name.
constexpr int kWatchNameRole = Qt::UserRole + 1;

// Keys of the state file.
const QString kGeometryKey = u"library/geometry"_s;
const QString kHeaderKey = u"library/header"_s;
const QString kSplitterKey = u"library/splitter"_s;
const QString kTemplateKey = u"library/template"_s;

// The history of a share's link checks, newest first, and since when a dead link is dead.
QString historyText(const QList<Library::LinkCheck> &checks)
{
    if (checks.isEmpty())
        return u"从未检查链接"_s;
    QString text;
    if (checks.first().verdict.state == Crawl::LinkState::Dead) {
        QDateTime since = checks.first().checkedAt;
        for (const Library::LinkCheck &check : checks) {
            if (check.verdict.state != Crawl::LinkState::Dead)
                break;
            since = check.checkedAt;
        }
        text = u"失效于 "_s + shownTime(since) + u"\n\n"_s;
    }
    text += u"链接检查记录："_s;
    for (const Library::LinkCheck &check : checks) {
        text += u'\n' + shownTime(check.checkedAt) + u"  "_s + linkVerdictText(check.verdict);
        if (check.status > 0)
            text += u"  HTTP "_s + QString::number(check.status);
    }
    return text;
}

} // namespace

LibraryWindow::LibraryWindow(LibraryWindowSetup setup, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_store(*setup.store)
    , m_statePath(std::move(setup.statePath))
    , m_defaultTemplate(std::move(setup.defaultTemplate))
    , m_model(*setup.store)
{
    setObjectName(u"LibraryWindow"_s);
    setWindowTitle(u"资源库"_s);
    resize(1000, 640);

    m_view = new QTableView;
    m_view->setObjectName(u"shares"_s);
    m_view->setModel(&m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setSectionsMovable(false);
    m_view->horizontalHeader()->setDefaultSectionSize(110);
    m_view->setColumnWidth(LibraryModel::TitleColumn, 340);
    m_view->horizontalHeader()->setSortIndicator(LibraryModel::LastSeenColumn, Qt::DescendingOrder);

    m_history = new QLabel;
    m_history->setObjectName(u"linkHistory"_s);
    m_history->setTextFormat(Qt::PlainText);
    m_history->setWordWrap(true);
    m_history->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_history->setMargin(6);

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->addWidget(m_view);
    m_splitter->addWidget(m_history);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setSizes({800, 200});

    m_count = new QLabel;
    m_count->setObjectName(u"count"_s);
    auto *status = new QLabel;
    status->setObjectName(u"status"_s);
    status->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createFilterRow());
    layout->addWidget(createTemplateRow());
    layout->addWidget(m_splitter, 1);

    m_batch = new LibraryBatch(
        {m_store, m_model, *m_view, *m_template, *status,
         setup.messageBox ? std::move(setup.messageBox) : modalMessageBox(this),
         setup.ask ? std::move(setup.ask) : modalQuestion(this),
         setup.openUrl ? std::move(setup.openUrl) : systemBrowser(),
         setup.saveFile ? std::move(setup.saveFile) : saveFileDialog(this, Overwrite::Ask), setup.endpoints},
        this);
    auto *buttons = new QHBoxLayout;
    for (QAction *action : m_batch->actions()) {
        auto *button = new QToolButton;
        button->setDefaultAction(action);
        buttons->addWidget(button);
        addAction(action); // its shortcut works anywhere in the window
    }
    buttons->addStretch(1);
    buttons->addWidget(status);
    buttons->addWidget(m_count);
    layout->addLayout(buttons);

    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_view->addActions(m_batch->actions());
    connect(m_batch, &LibraryBatch::libraryChanged, this, &LibraryWindow::refresh);
    connect(m_batch, &LibraryBatch::linkCheckFinished, this, [this] {
        if (m_closeAfterCheck)
            close();
    });

    m_searchDelay.setSingleShot(true);
    m_searchDelay.setInterval(kSearchDelayMs);
    connect(&m_searchDelay, &QTimer::timeout, this, &LibraryWindow::applyFilter);
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_count->setText(u"共 %1 条"_s.arg(m_model.rowCount()));
        showCurrentHistory();
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LibraryWindow::showCurrentHistory);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, &LibraryWindow::showCurrentHistory);

    restoreState();
    // What can wait (every id, every title) waits until the first rows are painted.
    m_model.deferUntilShown();
    m_view->viewport()->installEventFilter(this);
    // The first read of the library: the filters are still empty, the model's own start; the
    // header's indicator (restored or the default, last seen first) orders the rows.
    m_view->setSortingEnabled(true);
}

LibraryWindow::~LibraryWindow() = default;

QWidget *LibraryWindow::createFilterRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    m_search = new QLineEdit;
    m_search->setObjectName(u"search"_s);
    m_search->setPlaceholderText(u"搜索名称"_s);
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, &m_searchDelay, qOverload<>(&QTimer::start));
    layout->addWidget(m_search, 1);

    auto *states = new QToolButton;
    states->setObjectName(u"states"_s);
    states->setText(u"链接状态"_s);
    states->setPopupMode(QToolButton::InstantPopup);
    m_stateMenu = new QMenu(states);
    for (const Crawl::LinkState state : kStates) {
        QAction *action = m_stateMenu->addAction(linkStateText(state));
        action->setObjectName(Crawl::linkStateName(state));
        action->setData(static_cast<int>(state));
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, &LibraryWindow::applyFilter);
    }
    states->setMenu(m_stateMenu);
    layout->addWidget(states);

    layout->addWidget(new QLabel(u"首次获取自"_s));
    m_since = new QDateEdit;
    m_since->setObjectName(u"since"_s);
    m_since->setCalendarPopup(true);
    m_since->setDisplayFormat(u"yyyy-MM-dd"_s);
    m_since->setMinimumDate(kAnyDay);
    m_since->setSpecialValueText(u"任意日期"_s);
    m_since->setDate(kAnyDay);
    connect(m_since, &QDateEdit::dateChanged, this, &LibraryWindow::applyFilter);
    layout->addWidget(m_since);

    m_source = new QComboBox;
    m_source->setObjectName(u"source"_s);
    m_source->addItem(u"任意来源"_s, static_cast<int>(Library::SourceKind::Any));
    m_source->addItem(u"页面"_s, static_cast<int>(Library::SourceKind::Page));
    m_source->addItem(u"关键词"_s, static_cast<int>(Library::SourceKind::Keyword));
    // A source per watch: the shares its runs found.
    for (const Library::Watch &watch : Library::watches(m_store)) {
        m_source->addItem(u"监视："_s + watch.name, static_cast<int>(Library::SourceKind::Watch));
        m_source->setItemData(m_source->count() - 1, watch.name, kWatchNameRole);
    }
    layout->addWidget(m_source);
    m_sourceValue = new QLineEdit;
    m_sourceValue->setObjectName(u"sourceValue"_s);
    m_sourceValue->setPlaceholderText(u"页码或关键词"_s);
    m_sourceValue->setEnabled(false);
    connect(m_source, &QComboBox::currentIndexChanged, this, [this] {
        const auto kind = static_cast<Library::SourceKind>(m_source->currentData().toInt());
        m_sourceValue->setEnabled(kind == Library::SourceKind::Page || kind == Library::SourceKind::Keyword);
        applyFilter();
    });
    connect(m_sourceValue, &QLineEdit::textChanged, &m_searchDelay, qOverload<>(&QTimer::start));
    layout->addWidget(m_sourceValue);

    m_showHidden = new QCheckBox(u"显示已隐藏"_s);
    m_showHidden->setObjectName(u"showHidden"_s);
    connect(m_showHidden, &QCheckBox::toggled, this, &LibraryWindow::applyFilter);
    layout->addWidget(m_showHidden);
    return row;
}

QWidget *LibraryWindow::createTemplateRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(u"复制模板："_s));
    m_template = new QLineEdit(m_defaultTemplate);
    m_template->setObjectName(u"template"_s);
    m_template->setToolTip(u"{title} 名称  {url} 链接  {code} 提取码  {files} 文件数  {sharecode} 资源码"_s);
    connect(m_template, &QLineEdit::textChanged, this, &LibraryWindow::checkTemplate);
    layout->addWidget(m_template, 1);
    return row;
}

Library::Query LibraryWindow::filter() const
{
    Library::Query query;
    query.text = m_search->text().trimmed();
    for (const QAction *action : m_stateMenu->actions())
        if (action->isChecked())
            query.states.append(static_cast<Crawl::LinkState>(action->data().toInt()));
    if (m_since->date() > kAnyDay)
        query.since = m_since->date().startOfDay();
    query.source = static_cast<Library::SourceKind>(m_source->currentData().toInt());
    if (query.source == Library::SourceKind::Watch)
        query.sourceValue = m_source->currentData(kWatchNameRole).toString();
    else if (query.source != Library::SourceKind::Any)
        query.sourceValue = m_sourceValue->text().trimmed();
    query.includeHidden = m_showHidden->isChecked();
    return query;
}

void LibraryWindow::applyFilter()
{
    m_searchDelay.stop();
    m_model.setFilter(filter());
}

void LibraryWindow::refresh()
{
    m_model.reload();
}

void LibraryWindow::showCurrentHistory()
{
    const QModelIndex current = m_view->selectionModel()->currentIndex();
    m_history->setText(current.isValid() ? historyText(m_store.linkHistory(m_model.idAt(current.row()))) : QString());
}

void LibraryWindow::checkTemplate()
{
    const QStringList unknown = Library::unknownPlaceholders(m_template->text());
    // The field says what it will copy as written; copying still works.
    m_template->setStyleSheet(unknown.isEmpty() ? QString() : u"QLineEdit { border: 2px solid #d03030; }"_s);
    m_template->setToolTip(unknown.isEmpty() ? QString() : u"不认识的占位符，将按原样复制："_s + unknown.join(u' '));
}

void LibraryWindow::restoreState()
{
    if (m_statePath.isEmpty())
        return;
    const QSettings state(m_statePath, QSettings::IniFormat);
    restoreGeometry(state.value(kGeometryKey).toByteArray());
    m_view->horizontalHeader()->restoreState(state.value(kHeaderKey).toByteArray());
    m_splitter->restoreState(state.value(kSplitterKey).toByteArray());
    m_template->setText(state.value(kTemplateKey, m_defaultTemplate).toString());
}

void LibraryWindow::saveState() const
{
    if (m_statePath.isEmpty())
        return;
    QSettings state(m_statePath, QSettings::IniFormat);
    state.setValue(kGeometryKey, saveGeometry());
    state.setValue(kHeaderKey, m_view->horizontalHeader()->saveState());
    state.setValue(kSplitterKey, m_splitter->saveState());
    if (m_template->text() == m_defaultTemplate)
        state.remove(kTemplateKey); // a later default (another site profile) still reaches the field
    else
        state.setValue(kTemplateKey, m_template->text());
}

bool LibraryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Paint)
        m_model.rowsShown();
    return QWidget::eventFilter(watched, event);
}

void LibraryWindow::closeEvent(QCloseEvent *event)
{
    // The check runs inside this window's calls: the window goes once it has returned.
    if (m_batch->isCheckingLinks()) {
        m_closeAfterCheck = true;
        m_batch->checkLinks();
        return event->ignore();
    }
    saveState();
    QWidget::closeEvent(event);
}

} // namespace Gui
