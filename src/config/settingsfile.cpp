#include "config/settingsfile.h"

#include "config/settingkeys.h"

#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Config {

namespace {

constexpr qint64 kLargestFile = 1024 * 1024;
constexpr qsizetype kLongestShown = 80;

// Text from the file as a warning may show it: one line, not too long.
QString shown(QStringView text)
{
    QString printable = shownSettingText(text);
    if (printable.size() > kLongestShown)
        printable = printable.first(kLongestShown) + u"..."_s;
    return printable;
}

QString at(const QString &path, int line)
{
    return line > 0 ? path + u':' + QString::number(line) : path;
}

// What QSettings does not say: the line of every key, named as QSettings names it ("key" in the
// general section, "section/key" in another; the last line counts, as in QSettings), and the
// lines that are neither a comment, a section nor KEY=VALUE.
struct LineScan
{
    QHash<QString, int> lineOfKey;
    QStringList malformed;
};

LineScan scanLines(const QString &path, QStringView text)
{
    LineScan scan;
    QString section;
    int number = 0;
    for (QStringView line : text.split(u'\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close < 0)
                scan.malformed += at(path, number) + u": not a [section] line: "_s + shown(line);
            section = line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed().toString();
            if (section.compare(u"general", Qt::CaseInsensitive) == 0)
                section.clear();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            scan.malformed += at(path, number) + u": not a KEY=VALUE line: "_s + shown(line);
            continue;
        }
        const QString key = line.first(equals).trimmed().toString();
        scan.lineOfKey.insert(section.isEmpty() ? key : section + u'/' + key, number);
    }
    return scan;
}

// An INI value as text: QSettings reads an unquoted value with commas as a list.
QString textOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(u", "_s) : value.toString();
}

} // namespace

QString defaultSettingsPath()
{
    // The window program's own configuration folder, named here so the command-line tool
    // (another application name) finds the same file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/vorlen360/vorlen360.ini"_s;
}

SettingsFile readSettingsFile(const QString &path)
{
    SettingsFile file;
    file.path = path;
    file.values.resize(settings().size());
    const QFileInfo info(path);
    if (!info.exists())
        return file;
    file.exists = true;
    auto unread = [&file](const QString &why) {
        file.damage = file.path + u": "_s + why;
        file.warnings += file.damage + u"; the defaults are used"_s;
        return file;
    };
    if (!info.isFile())
        return unread(u"not a regular file"_s);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return unread(u"cannot be read: "_s + in.errorString());
    const QByteArray bytes = in.read(kLargestFile + 1);
    if (bytes.size() > kLargestFile)
        return unread(u"larger than 1 MiB"_s);

    const LineScan scan = scanLines(path, QString::fromUtf8(bytes));
    for (const QString &line : scan.malformed)
        file.warnings += line + u"; ignored"_s;
    if (!scan.malformed.isEmpty())
        file.damage = scan.malformed.first();

    const QSettings ini(path, QSettings::IniFormat);
    for (const QString &key : ini.allKeys()) {
        const QString where = at(path, scan.lineOfKey.value(key));
        if (key == QLatin1StringView(kSettingsOfferedKey)) {
            file.offered = ini.value(key).toBool();
            continue;
        }
        const Setting *setting = findSetting(key);
        if (!setting) {
            file.warnings += where + u": unknown key "_s + shown(key) + u"; ignored"_s;
            continue;
        }
        const QString text = textOf(ini.value(key));
        const Checked checked = setting->check(text);
        if (!checked.refusal.isEmpty())
            file.warnings +=
                where + u": "_s + key + u": "_s + checked.refusal + u": "_s + shown(text) + u"; the default is used"_s;
        else
            file.values[setting - settings().data()] = FileValue{checked.value, scan.lineOfKey.value(key)};
    }
    return file;
}

void applySettingsFile(Endpoints &endpoints, std::vector<Origin> &origins, const SettingsFile &file)
{
    const Endpoints defaults = Endpoints::defaults();
    origins.resize(settings().size());
    for (std::size_t i = 0; i < settings().size(); ++i) {
        if (origins[i].source == Source::Option || origins[i].source == Source::Environment)
            continue;
        const Setting &setting = settings()[i];
        const std::optional<FileValue> given = i < file.values.size() ? file.values[i] : std::nullopt;
        storeSetting(setting, endpoints, given ? given->value : settingText(setting, defaults));
        origins[i] = given ? Origin{Source::File, at(file.path, given->line)} : Origin{};
    }
}

QString writeSettings(const QString &path, const QList<SettingChange> &changes)
{
    const SettingsFile current = readSettingsFile(path);
    if (!current.damage.isEmpty())
        return current.damage + u"; the file is left as it is"_s;
    const bool addsAValue =
        std::any_of(changes.begin(), changes.end(), [](const SettingChange &c) { return c.second.has_value(); });
    if (!current.exists && !addsAValue)
        return {}; // nothing to remove

    QSettings ini(path, QSettings::IniFormat);
    for (const auto &[key, value] : changes) {
        if (value)
            ini.setValue(key, *value);
        else
            ini.remove(key);
    }
    ini.sync();
    if (ini.status() != QSettings::NoError)
        return path + u": cannot be written"_s;
    // A proxy address may carry a password.
    if (!current.exists)
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
}

} // namespace Config
