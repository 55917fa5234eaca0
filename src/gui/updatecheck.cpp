#include "gui/updatecheck.h"

#include "gui/statusbar.h"
#include "net/pagefetch.h"
#include "net/versionfile.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

// The forum's base address without its closing slash.
QUrl frontPage(QString forum)
{
    if (forum.endsWith(u'/'))
        forum.chop(1);
    return QUrl(forum);
}

} // namespace

ProgramEndSeam applicationExit()
{
    return [] { QCoreApplication::exit(0); };
}

UpdateCheck::UpdateCheck(const Config::Endpoints &endpoints, const MainWindowControls &controls, const QWidget &window,
                         const MessageBoxSeam &messageBox, const BrowserSeam &openUrl, ProgramEndSeam endProgram)
    : m_endpoints(endpoints)
    , m_controls(controls)
    , m_window(window)
    , m_messageBox(messageBox)
    , m_openUrl(openUrl)
    , m_endProgram(endProgram ? std::move(endProgram) : applicationExit())
{
}

Net::VersionStatus UpdateCheck::run()
{
    const Net::VersionVerdict check =
        Net::judgeVersionFile(Net::fetchPageText(Net::versionFileUrl(m_endpoints.updateServer), m_endpoints.timeout));
    if (!m_window.isVisible())
        return check.status; // closed while we waited: the program is ending anyway

    switch (check.status) {
    case Net::VersionStatus::Current:
        for (QWidget *control : std::initializer_list<QWidget *>{m_controls.keywordEdit, m_controls.nextPageButton,
                                                                m_controls.previousPageButton, m_controls.searchButton})
            control->setEnabled(true);
        m_controls.statusBar->setPanelText(MainStatusPanel, u"欢迎使用Vorlen系列软件"_s);
        break;
    case Net::VersionStatus::Newer:
        m_messageBox(u"发现最新版本!["_s + check.version + u"]\r\n \r\n确定后自动打开官方论坛!"_s, MessageIcon::Information,
                     messageTitle());
        m_openUrl(frontPage(m_endpoints.forum));
        m_endProgram();
        break;
    case Net::VersionStatus::Unreadable:
        m_messageBox(u"检测更新失败!请您稍后再试,暂时使用原版"_s, MessageIcon::Warning, messageTitle());
        break;
    }
    return check.status;
}

} // namespace Gui
