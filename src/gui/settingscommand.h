#pragma once

#include "config/endpoints.h"
#include "config/settingsfile.h"
#include "gui/messagebox.h"

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace Gui {

class SettingsDialog;

// The main window's settings: the dialog 设置 from its menu entry (and shortcut), and the one
// offer of it at a first start. What the dialog saves goes into the settings file and at once
// into endpoints, except the settings an option or a variable of this run gives.
class SettingsCommand : public QObject
{
    Q_OBJECT

public:
    // window, entry and endpoints outlive this object.
    SettingsCommand(QWidget &window, QAction &entry, Config::Endpoints &endpoints, Config::Provenance provenance,
                    MessageBoxSeam messageBox);

    // Opens the dialog over the window (or raises the one already open); hint stands above its fields.
    void open(const QString &hint = {});

    // The version file could not be read: when the share site is still the compiled-in one and
    // the dialog has never been offered, offers it once, saying what to fill in.
    void offerOnce();

signals:
    // endpoints holds what the dialog saved.
    void endpointsChanged();

private:
    bool save(const QList<Config::SettingChange> &changes);

    QWidget &m_window;
    Config::Endpoints &m_endpoints;
    Config::Provenance m_provenance;
    MessageBoxSeam m_messageBox;
    QPointer<SettingsDialog> m_dialog;
};

} // namespace Gui
