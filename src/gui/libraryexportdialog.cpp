#include "gui/libraryexportdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QStandardItemModel>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

QComboBox *choices(QWidget *parent, const char *name, std::initializer_list<std::pair<QString, int>> items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1StringView(name));
    for (const auto &[text, value] : items)
        box->addItem(text, value);
    return box;
}

} // namespace

LibraryExportDialog::LibraryExportDialog(bool haveSelection, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(u"导出资源"_s);
    using Scope = LibraryBatch::Scope;
    using Format = Library::ExportFormat;
    using Encoding = Library::ExportEncoding;
    m_scope = choices(this, "scope", {{u"选中的资源"_s, int(Scope::Selected)}, {u"当前显示的资源"_s, int(Scope::Shown)},
                                     {u"资源库中的全部资源"_s, int(Scope::All)}});
    if (!haveSelection) {
        qobject_cast<QStandardItemModel *>(m_scope->model())->item(0)->setEnabled(false);
        m_scope->setCurrentIndex(1);
    }
    m_format = choices(this, "format", {{u"按复制模板，每行一个"_s, int(Format::TemplateLines)},
                                        {u"CSV 表格"_s, int(Format::Csv)}, {u"JSON Lines"_s, int(Format::JsonLines)}});
    m_encoding = choices(this, "encoding", {{u"UTF-8"_s, int(Encoding::Utf8)}, {u"GBK"_s, int(Encoding::Gbk)}});

    auto *form = new QFormLayout(this);
    form->addRow(u"导出范围："_s, m_scope);
    form->addRow(u"格式："_s, m_format);
    form->addRow(u"编码："_s, m_encoding);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"确定"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

LibraryBatch::Scope LibraryExportDialog::scope() const
{
    return static_cast<LibraryBatch::Scope>(m_scope->currentData().toInt());
}

Library::ExportOptions LibraryExportDialog::options() const
{
    Library::ExportOptions options;
    options.format = static_cast<Library::ExportFormat>(m_format->currentData().toInt());
    options.encoding = static_cast<Library::ExportEncoding>(m_encoding->currentData().toInt());
    return options;
}

QString LibraryExportDialog::fileFilter() const
{
    switch (options().format) {
    case Library::ExportFormat::Csv: return u"CSV 文件 (*.csv)"_s;
    case Library::ExportFormat::JsonLines: return u"JSON Lines 文件 (*.jsonl)"_s;
    case Library::ExportFormat::TemplateLines: break;
    }
    return u"文本文件 (*.txt)"_s;
}

} // namespace Gui
