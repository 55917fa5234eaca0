#pragma once

#include "config/settingkeys.h"
#include "config/settingsfile.h"

#include <QDialog>
#include <QList>

#include <functional>

class QLineEdit;
class QPushButton;

namespace Gui {

// 设置: a field for every setting with a caption, starting from the settings file's value or
// the default. Each field is checked as it is typed: a refused value marks the field and
// disables OK. 恢复默认 fills in every default. OK hands the changes to save (a value equal to
// its default removes the key, so the file keeps only what differs) and closes the dialog once
// save has kept them.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    using Save = std::function<bool(const QList<Config::SettingChange> &changes)>;

    // hint, when not empty, stands above the fields.
    SettingsDialog(const Config::SettingsFile &file, const QString &hint, Save save, QWidget *parent);

    void accept() override;

private:
    struct Field
    {
        const Config::Setting *setting;
        QLineEdit *edit;
    };

    void check(const Field &field);
    bool allAccepted() const;
    void restoreDefaults();

    QList<Field> m_fields;
    QPushButton *m_ok;
    Save m_save;
};

} // namespace Gui
