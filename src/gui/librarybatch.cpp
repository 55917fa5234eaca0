#include "gui/librarybatch.h"

#include "gui/libraryexportdialog.h"
#include "gui/librarylinkcheck.h"
#include "gui/librarymodel.h"
#include "library/sharetemplate.h"
#include "library/store.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Gui {

LibraryBatch::LibraryBatch(Parts parts, QObject *parent)
    : QObject(parent)
    , m(std::move(parts))
{
    addAction(u"复制"_s, "copy", QKeySequence::Copy, [this] { copyWithTemplate(); });
    addAction(u"复制提取码"_s, "copyCodes", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { copyCodes(); });
    addAction(u"在浏览器中打开"_s, "open", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openInBrowser(); });
    addAction(u"隐藏"_s, "hide", QKeySequence::Delete, [this] { setHidden(true); });
    addAction(u"取消隐藏"_s, "unhide", {}, [this] { setHidden(false); });
    m_checkLinks = addAction(u"检查链接"_s, "checkLinks", {}, [this] { checkLinks(); });
    addAction(u"导出..."_s, "export", {}, [this] { exportShares(); });
    for (QAction *action : std::as_const(m_actions))
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);

    m_linkCheck = new LibraryLinkCheck({m.store, m.model, m.status, *m_checkLinks, m.endpoints}, *m.view.window());
    connect(m_linkCheck, &LibraryLinkCheck::finished, this, [this] {
        enableForSelection();
        emit linkCheckFinished();
    });
    connect(m.view.selectionModel(), &QItemSelectionModel::selectionChanged, this, &LibraryBatch::enableForSelection);
    connect(&m.model, &QAbstractItemModel::modelReset, this, &LibraryBatch::enableForSelection);
    enableForSelection();
}

void LibraryBatch::enableForSelection()
{
    // A running check stays stoppable whatever is selected.
    m_checkLinks->setEnabled(m_linkCheck->isRunning()
                             || (m_linkCheck->isAvailable() && m.view.selectionModel()->hasSelection()));
}

QAction *LibraryBatch::addAction(const QString &text, const char *name, const QKeySequence &shortcut,
                                 const std::function<void()> &run)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1StringView(name));
    action->setShortcut(shortcut);
    if (run)
        connect(action, &QAction::triggered, this, run);
    m_actions.append(action);
    return action;
}

QList<qint64> LibraryBatch::selectedIds() const
{
    QModelIndexList rows = m.view.selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QList<qint64> ids;
    ids.reserve(rows.size());
    for (const QModelIndex &row : std::as_const(rows))
        ids.append(m.model.idAt(row.row()));
    return ids;
}

QList<Library::ShareRecord> LibraryBatch::selectedShares() const
{
    return m.store.records(selectedIds());
}

void LibraryBatch::report(const QString &text)
{
    m.status.setText(text);
}

void LibraryBatch::copyWithTemplate()
{
    const QList<Library::ShareRecord> shares = selectedShares();
    if (shares.isEmpty())
        return report(u"请先选择资源"_s);
    QStringList lines;
    lines.reserve(shares.size());
    for (const Library::ShareRecord &share : shares)
        lines.append(Library::fillShareTemplate(m.shareTemplate.text(), share));
    QGuiApplication::clipboard()->setText(lines.join(u'\n'));
    m.store.markCopied(selectedIds(), QDateTime::currentDateTime());
    report(u"已复制 %1 条"_s.arg(shares.size()));
}

void LibraryBatch::copyCodes()
{
    const QList<Library::ShareRecord> shares = selectedShares();
    if (shares.isEmpty())
        return report(u"请先选择资源"_s);
    QStringList codes;
    codes.reserve(shares.size());
    for (const Library::ShareRecord &share : shares)
        codes.append(share.extractionCode);
    QGuiApplication::clipboard()->setText(codes.join(u'\n'));
    m.store.markCopied(selectedIds(), QDateTime::currentDateTime());
    report(u"已复制 %1 个提取码"_s.arg(shares.size()));
}

void LibraryBatch::openInBrowser()
{
    QList<Library::ShareRecord> shares = selectedShares();
    shares.removeIf([](const Library::ShareRecord &share) { return share.shareUrl.isEmpty(); });
    if (shares.isEmpty())
        return report(u"所选资源没有链接"_s);
    if (shares.size() > kOpenWithoutAsking) {
        const qsizetype opened = std::min<qsizetype>(shares.size(), kMostOpened);
        const QString question = shares.size() > kMostOpened
                                     ? u"选中了 %1 个资源，一次最多打开 %2 个。要打开前 %2 个吗？"_s.arg(shares.size()).arg(opened)
                                     : u"要在浏览器中打开 %1 个资源吗？"_s.arg(opened);
        if (!m.ask(question, messageTitle()))
            return;
        shares.resize(opened);
    }
    QList<qint64> ids;
    for (const Library::ShareRecord &share : std::as_const(shares)) {
        m.openUrl(QUrl(share.shareUrl));
        ids.append(share.id);
    }
    m.store.markOpened(ids, QDateTime::currentDateTime());
    report(u"已打开 %1 个资源"_s.arg(ids.size()));
}

void LibraryBatch::setHidden(bool hidden)
{
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty())
        return report(u"请先选择资源"_s);
    if (const QString error = m.store.setHidden(ids, hidden); !error.isEmpty())
        return m.messageBox(u"资源库无法写入：\n"_s + error, MessageIcon::Warning, messageTitle());
    emit libraryChanged();
    report((hidden ? u"已隐藏 %1 条"_s : u"已取消隐藏 %1 条"_s).arg(ids.size()));
}

void LibraryBatch::checkLinks()
{
    if (m_linkCheck->isRunning())
        return m_linkCheck->stop();
    const QList<Library::ShareRecord> shares = selectedShares();
    if (shares.isEmpty())
        return report(u"请先选择资源"_s);
    if (const QString error = m_linkCheck->run(shares); !error.isEmpty())
        m.messageBox(u"资源库无法写入：\n"_s + error, MessageIcon::Warning, messageTitle());
}

bool LibraryBatch::isCheckingLinks() const
{
    return m_linkCheck->isRunning();
}

void LibraryBatch::exportShares()
{
    LibraryExportDialog dialog(!selectedIds().isEmpty(), m.view.window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = m.saveFile(u"导出资源"_s, dialog.fileFilter(), {});
    if (path.isEmpty())
        return;
    Library::ExportOptions options = dialog.options();
    options.shareTemplate = m.shareTemplate.text();
    exportTo(dialog.scope(), options, path);
}

bool LibraryBatch::exportTo(Scope scope, const Library::ExportOptions &options, const QString &path)
{
    QList<qint64> ids;
    switch (scope) {
    case Scope::All: {
        Library::Query everything;
        everything.includeHidden = true;
        ids = m.store.matchingIds(everything);
        break;
    }
    case Scope::Shown: ids = m.model.ids(); break;
    case Scope::Selected: ids = selectedIds(); break;
    }
    const QList<Library::ShareRecord> shares = m.store.records(ids);
    if (const QString refusal = Library::writeShareExport(path, shares, options); !refusal.isEmpty()) {
        m.messageBox(u"导出失败：\n"_s + refusal, MessageIcon::Warning, messageTitle());
        return false;
    }
    report(u"已导出 %1 条到 %2"_s.arg(shares.size()).arg(QDir::toNativeSeparators(path)));
    return true;
}

} // namespace Gui
