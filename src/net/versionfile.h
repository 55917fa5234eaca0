#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The software server's version file, "/version/main.txt": this program's entry in it is
// "360:" + version + "|", anywhere in the file.
namespace Net {

enum class VersionStatus {
    Current,    // the file names this program's own release name (Config::kReleaseName)
    Newer,      // the file names another version
    Unreadable, // no file, an empty one, or one without a usable entry (an error page, say)
};

struct VersionVerdict
{
    VersionStatus status = VersionStatus::Unreadable;
    QString version; // as the file names it; empty when Unreadable
};

// updateServer + "version/main.txt"; updateServer ends with "/".
QString versionFileUrl(const QString &updateServer);

// The version text of this program's entry: the piece after the first "360:" up to the next
// "360:" or the end, and of it the text before its first "|". Empty when the body holds no
// "360:" or that piece no "|". Nothing is trimmed and case counts.
QString cutVersion(QStringView body);

// What a fetched version file says (nullopt: the fetch failed). An empty version counts as
// Unreadable, not as a newer version with an empty name: a server's error page must not make
// the program announce an update and quit.
VersionVerdict judgeVersionFile(const std::optional<QString> &body);

} // namespace Net
