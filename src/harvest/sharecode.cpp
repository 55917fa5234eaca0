#include "harvest/sharecode.h"

namespace Harvest {

namespace {

// Characters the site scatters into its links; none belongs to a share code.
bool isNoise(QChar c)
{
    return c == u'"' || c == u'\u8E0B' || c == u'?' || c == u'\u9273';
}

} // namespace

std::optional<QString> cutShareCode(QStringView detailPage, QStringView prefix)
{
    if (prefix.isEmpty())
        return std::nullopt;
    const qsizetype at = detailPage.indexOf(prefix);
    if (at < 0)
        return std::nullopt;

    QStringView after = detailPage.sliced(at + prefix.size());
    const qsizetype nextPrefix = after.indexOf(prefix);
    if (nextPrefix >= 0)
        after = after.first(nextPrefix);
    const qsizetype quote = after.indexOf(u'"');
    if (quote < 0)
        return QString();

    QString code;
    code.reserve(quote);
    for (QChar c : after.first(quote + 1)) {
        if (!isNoise(c))
            code.append(c);
    }
    return code;
}

} // namespace Harvest
