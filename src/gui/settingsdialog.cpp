#include "gui/settingsdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

constexpr int kFieldWidth = 360;

QString defaultText(const Config::Setting &setting)
{
    return Config::settingText(setting, Config::Endpoints::defaults());
}

} // namespace

SettingsDialog::SettingsDialog(const Config::SettingsFile &file, const QString &hint, Save save, QWidget *parent)
    : QDialog(parent)
    , m_save(std::move(save))
{
    setObjectName(u"SettingsDialog"_s);
    setWindowTitle(u"设置"_s);
    auto *layout = new QVBoxLayout(this);
    if (!hint.isEmpty()) {
        auto *label = new QLabel(hint, this);
        label->setObjectName(u"hint"_s);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto *form = new QFormLayout;
    layout->addLayout(form);
    const auto settings = Config::settings();
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const Config::Setting &setting = settings[i];
        if (!setting.label)
            continue;
        const std::optional<Config::FileValue> &given = file.values.at(i);
        auto *edit = new QLineEdit(given ? given->value : defaultText(setting), this);
        edit->setObjectName(QLatin1StringView(setting.key));
        edit->setMinimumWidth(kFieldWidth);
        form->addRow(QString::fromUtf8(setting.label), edit);
        m_fields.append({&setting, edit});
        connect(edit, &QLineEdit::textChanged, this, [this, field = m_fields.back()] { check(field); });
    }

    auto *buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(u"确定"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(u"恢复默认"_s);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, &SettingsDialog::restoreDefaults);
}

void SettingsDialog::accept()
{
    if (!allAccepted())
        return;
    QList<Config::SettingChange> changes;
    for (const Field &field : std::as_const(m_fields)) {
        const Config::Checked checked = field.setting->check(field.edit->text());
        const bool isDefault = checked.value == defaultText(*field.setting);
        changes.append({QLatin1StringView(field.setting->key), isDefault ? std::nullopt : std::optional(checked.value)});
    }
    if (m_save(changes))
        QDialog::accept();
}

void SettingsDialog::check(const Field &field)
{
    const QString refusal = field.setting->check(field.edit->text()).refusal;
    field.edit->setStyleSheet(refusal.isEmpty() ? QString() : u"QLineEdit { background-color: #ffd8d8; }"_s);
    field.edit->setToolTip(refusal);
    m_ok->setEnabled(allAccepted());
}

bool SettingsDialog::allAccepted() const
{
    return std::all_of(m_fields.cbegin(), m_fields.cend(),
                       [](const Field &f) { return f.setting->check(f.edit->text()).refusal.isEmpty(); });
}

void SettingsDialog::restoreDefaults()
{
    for (const Field &field : std::as_const(m_fields))
        field.edit->setText(defaultText(*field.setting));
}

} // namespace Gui
