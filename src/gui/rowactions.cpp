#include "gui/rowactions.h"

#include "gui/mainwindowcontrols.h"
#include "gui/statusbar.h"
#include "harvest/resultlist.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

const QString kNotFetched = u"请先获取资源"_s;

void putOnClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

RowActions::RowActions(const MainWindowControls &controls, Harvest::ResultList &list, const Config::Endpoints &endpoints,
                       MessageBoxSeam messageBox, BrowserSeam openUrl)
    : m_view(*controls.resultView)
    , m_statusBar(*controls.statusBar)
    , m_list(list)
    , m_endpoints(endpoints)
    , m_messageBox(std::move(messageBox))
    , m_openUrl(std::move(openUrl))
{
    connect(controls.copyShareAction, &QAction::triggered, this, &RowActions::copyShare);
    connect(controls.openShareAction, &QAction::triggered, this, &RowActions::openShare);
    connect(controls.copyCodeAction, &QAction::triggered, this, &RowActions::copyCode);
    m_view.installEventFilter(this);
    m_view.viewport()->installEventFilter(this);
}

void RowActions::copyShare()
{
    const int row = fetchedSelectedRow(kNotFetched);
    if (row < 0)
        return;
    const Harvest::ResourceEntry &entry = m_list.entry(row);
    putOnClipboard(u"资源地址："_s + m_endpoints.sharePrefix + entry.shareCode + u"\r\n提取码："_s + entry.extractionCode);
    report(u"资源及提取码已复制.."_s);
}

void RowActions::copyCode()
{
    const int row = fetchedSelectedRow(kNotFetched);
    if (row < 0)
        return;
    putOnClipboard(m_list.entry(row).extractionCode);
    report(u"提取码已复制.."_s);
}

void RowActions::openShare()
{
    const int row = fetchedSelectedRow(kNotFetched);
    if (row >= 0)
        m_openUrl(QUrl(m_endpoints.sharePrefix + m_list.entry(row).shareCode));
}

void RowActions::hideRow()
{
    const int row = fetchedSelectedRow(u"请获取礼包后再进行隐藏"_s);
    if (row < 0 || !m_list.removeAndRenumber(row))
        return;
    // The view has selected the next row in place of the removed one; the next F6 must not
    // hide a row the user never chose.
    m_view.selectionModel()->clearSelection();
    report(u"礼包已隐藏"_s);
}

bool RowActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_view && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F6) {
            // A held key hides one row, and says nothing while it repeats.
            if (!key->isAutoRepeat())
                hideRow();
            return true;
        }
    }
    if (watched != m_view.viewport()
        || (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick))
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    // On empty space too: the action takes the selected row, not the one under the mouse.
    if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
        copyCode();
    // The view would drop its selection on a click into empty space; the actions need it kept.
    return !m_view.indexAt(mouse->position().toPoint()).isValid();
}

int RowActions::fetchedSelectedRow(const QString &refusal) const
{
    const QModelIndexList selected = m_view.selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    if (row >= 0 && row < m_list.rowCount() && !m_list.entry(row).shareCode.isEmpty())
        return row;
    m_messageBox(refusal, MessageIcon::Information, messageTitle());
    return -1;
}

void RowActions::report(const QString &status) const
{
    m_statusBar.setPanelText(MainStatusPanel, status);
}

} // namespace Gui
