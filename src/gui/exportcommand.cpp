#include "gui/exportcommand.h"

#include "harvest/exportfile.h"

#include <QDir>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace Gui {

ExportCommand::ExportCommand(QPushButton &button, const Harvest::ResultList &list, SaveFileSeam saveFile,
                             MessageBoxSeam messageBox)
    : m_list(list)
    , m_saveFile(std::move(saveFile))
    , m_messageBox(std::move(messageBox))
{
    connect(&button, &QPushButton::clicked, this, &ExportCommand::run);
}

void ExportCommand::run()
{
    const QString path = m_saveFile(u"请选择要导出的路径"_s, u"文本文件 (*.txt)"_s, m_lastFile);
    if (path.isEmpty())
        return;
    m_lastFile = path;

    const Harvest::ExportResult result = Harvest::appendExport(path, m_list);
    if (result.written)
        m_messageBox(u"成功导出邮箱数据"_s, MessageIcon::Information, messageTitle());
    else
        m_messageBox(u"导出失败，无法写入文件：%1\n%2"_s.arg(QDir::toNativeSeparators(path), result.errorString),
                     MessageIcon::Warning, messageTitle());
}

} // namespace Gui
