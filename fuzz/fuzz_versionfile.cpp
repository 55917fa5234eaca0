// The version cut of any fetched file: the version is the text between the first "360:" and
// the "|" after it, and only an empty one makes the file unreadable.
#include "fuzzinput.h"
#include "net/versionfile.h"

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString body = fuzzText(data, size);
    const QString version = Net::cutVersion(body);
    const qsizetype marker = body.indexOf(u"360:");
    if (!version.isEmpty()) {
        // Right after the first marker, closed by a bar, holding neither a bar nor a marker.
        if (marker < 0 || !QStringView(body).sliced(marker + 4).startsWith(QString(version + u'|'))
            || version.contains(u'|') || version.contains(u"360:"))
            std::abort();
    } else if (marker >= 0) {
        // Empty only when the piece up to the next marker has no bar, or starts with one.
        const QStringView piece = QStringView(body).sliced(marker + 4);
        const qsizetype bar = piece.indexOf(u'|');
        const qsizetype next = piece.indexOf(u"360:");
        if (bar > 0 && (next < 0 || bar < next))
            std::abort();
    }

    const Net::VersionVerdict check = Net::judgeVersionFile(body);
    const bool expected = check.version == version
        && check.status == (version.isEmpty()            ? Net::VersionStatus::Unreadable
                             : version == u"V1.0"_s       ? Net::VersionStatus::Current
                                                          : Net::VersionStatus::Newer);
    const Net::VersionVerdict failed = Net::judgeVersionFile(std::nullopt);
    if (!expected || failed.status != Net::VersionStatus::Unreadable || !failed.version.isEmpty())
        std::abort();
    return 0;
}
