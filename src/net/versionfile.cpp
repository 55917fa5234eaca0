#include "net/versionfile.h"

#include "config/productversion.h"

using namespace Qt::StringLiterals;

namespace Net {

namespace {

constexpr QStringView kMarker = u"360:";

} // namespace

QString versionFileUrl(const QString &updateServer)
{
    return updateServer + u"version/main.txt"_s;
}

QString cutVersion(QStringView body)
{
    const qsizetype marker = body.indexOf(kMarker);
    if (marker < 0)
        return {};
    QStringView piece = body.sliced(marker + kMarker.size());
    if (const qsizetype next = piece.indexOf(kMarker); next >= 0)
        piece.truncate(next);
    const qsizetype bar = piece.indexOf(u'|');
    return bar < 0 ? QString() : piece.first(bar).toString();
}

VersionVerdict judgeVersionFile(const std::optional<QString> &body)
{
    const QString version = body ? cutVersion(*body) : QString();
    if (version.isEmpty())
        return {};
    return {version == Config::kReleaseName ? VersionStatus::Current : VersionStatus::Newer, version};
}

} // namespace Net
