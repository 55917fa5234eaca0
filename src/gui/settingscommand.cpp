#include "gui/settingscommand.h"

#include "config/settingsfile.h"
#include "gui/settingsdialog.h"
#include "net/networksettings.h"

#include <QAction>
#include <QProcessEnvironment>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace Gui {

SettingsCommand::SettingsCommand(QWidget &window, QAction &entry, Config::Endpoints &endpoints, Config::Provenance provenance,
                                 MessageBoxSeam messageBox)
    : QObject(&window)
    , m_window(window)
    , m_endpoints(endpoints)
    , m_provenance(std::move(provenance))
    , m_messageBox(std::move(messageBox))
{
    if (m_provenance.file.isEmpty())
        m_provenance.file = Config::defaultSettingsPath();
    connect(&entry, &QAction::triggered, this, [this] { open(); });
}

void SettingsCommand::open(const QString &hint)
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    m_dialog = new SettingsDialog(
        Config::readSettingsFile(m_provenance.file), hint,
        [this](const QList<Config::SettingChange> &changes) { return save(changes); }, &m_window);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog->open();
}

void SettingsCommand::offerOnce()
{
    if (m_endpoints.shareSite != Config::Endpoints::defaults().shareSite || Config::readSettingsFile(m_provenance.file).offered)
        return;
    // Not written (a read-only folder): offered again next time, which is all that is lost.
    Config::writeSettings(m_provenance.file, {{QLatin1StringView(Config::kSettingsOfferedKey), u"true"_s}});
    open(u"请在设置中填写分享搜索网站的地址。"_s);
}

bool SettingsCommand::save(const QList<Config::SettingChange> &changes)
{
    const QString failure = Config::writeSettings(m_provenance.file, changes);
    if (!failure.isEmpty()) {
        m_messageBox(u"设置未能保存：\n"_s + failure, MessageIcon::Warning, messageTitle());
        return false;
    }
    Config::applySettingsFile(m_endpoints, m_provenance.origins, Config::readSettingsFile(m_provenance.file));
    // The proxy and user agent of every request from now on; a proxy variable the start-up
    // accepted reads the same now.
    Config::resolveProxy(m_endpoints.proxySetting, QProcessEnvironment::systemEnvironment(), m_endpoints.proxy);
    Net::applySettings(m_endpoints);
    emit endpointsChanged();
    return true;
}

} // namespace Gui
