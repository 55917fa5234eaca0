#pragma once

#include "config/endpoints.h"

#include <QString>
#include <QStringView>

#include <chrono>
#include <span>

// The settings a user can give in the settings file, by environment variable or by option: one
// row each, which the option parser, the settings file, "vorlen360-cli config", the usage text
// and the settings dialog all read, so a new setting is one more row.
namespace Config {

// A crawl's pause between two requests to one site is at most an hour.
inline constexpr qint64 kLongestDelayMs = 3'600'000;

// A text checked against a setting's rules: the value as the program keeps it (a base address
// with its closing slash), or why it was refused.
struct Checked
{
    QString value;
    QString refusal; // empty when the text is accepted
};

struct Setting
{
    const char *key;         // in the settings file; the option is "--" + key
    const char *variable;    // the environment variable
    const char *placeholder; // the option's value in usage texts
    Checked (*check)(const QString &text);
    // Where the value goes: a text field, or a duration counted in unit.
    QString Endpoints::*text = nullptr;
    std::chrono::milliseconds Endpoints::*duration = nullptr;
    std::chrono::milliseconds unit{1};
    const char *help = "";       // the usage text's line
    const char *label = nullptr; // the settings dialog's caption (UTF-8); nullptr: not in the dialog
};
// Every setting's default is what Endpoints::defaults() holds.

std::span<const Setting> settings();
const Setting *findSetting(QStringView key);

// The setting's value in endpoints as text, as the settings file and "config show" write it.
QString settingText(const Setting &setting, const Endpoints &endpoints);

// A setting's text as a message may show it: printable, one line, without the "user:password@"
// of a URL.
QString shownSettingText(QStringView text);
// Puts a value that setting.check accepted into endpoints.
void storeSetting(const Setting &setting, Endpoints &endpoints, const QString &value);

// An http or https address with a host, given its closing slash: a base the parties' paths
// are appended to.
Checked checkBaseUrl(const QString &text);

} // namespace Config
