#pragma once

#include "config/endpoints.h"
#include "config/origin.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// vorlen360.ini: the settings kept between runs, an INI file (UTF-8) that QSettings reads and
// writes, its keys those of settings() in the general section.
namespace Config {

// Set once the window has offered the settings dialog at a first start.
inline constexpr char kSettingsOfferedKey[] = "settings-dialog-offered";

struct FileValue
{
    QString value; // accepted by its setting's check
    int line = 0;  // where the file gives it
};

struct SettingsFile
{
    QString path;
    bool exists = false;
    std::vector<std::optional<FileValue>> values; // one per settings() row; only accepted values
    bool offered = false;                         // kSettingsOfferedKey is set
    QStringList warnings;                         // one line each: a malformed line, an unknown key, a refused value, ...
    QString damage;                               // set when part of the file could not be read: writing it back would lose it
};

// vorlen360.ini in the user's configuration folder, shared by both programs.
QString defaultSettingsPath();

// Reads the file at path, at most 1 MiB. A missing file is no settings and no warning; a file
// that cannot be read, or is larger, gives one warning and no values. Every malformed line,
// unknown key and refused value gives a warning naming the file, the line and the key; the
// rest of the file still counts.
SettingsFile readSettingsFile(const QString &path);

// The rows of origins that did not come from an option or the environment take the file's
// value, or their default when the file has none, and their origin says so.
void applySettingsFile(Endpoints &endpoints, std::vector<Origin> &origins, const SettingsFile &file);

// A key of the settings file and its new value; none removes the key.
using SettingChange = std::pair<QString, std::optional<QString>>;

// Applies changes to the settings file at path and saves it atomically (a new file is for its
// owner only); the values must be checked already. A file that was not read whole is left as it
// is. Returns an error line, or the empty text once the file is written.
QString writeSettings(const QString &path, const QList<SettingChange> &changes);

} // namespace Config
