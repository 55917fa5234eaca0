#include "harvest/entryparser.h"

#include <QStringMatcher>

#include <algorithm>

namespace Harvest {

namespace {

// The pieces one marker cuts out of the page: piece i (1-based) starts right after the i-th
// occurrence and ends at the next occurrence or the end of the page.
class MarkerCut
{
public:
    // Finds at most limit + 1 occurrences: piece limit needs the start of the next one.
    MarkerCut(QStringView page, QStringView marker, qsizetype limit)
        : m_page(page)
        , m_markerLength(marker.size())
    {
        const QStringMatcher matcher(marker.data(), marker.size(), Qt::CaseSensitive);
        // An empty marker would stand everywhere; it marks nothing.
        for (qsizetype from = 0; !marker.isEmpty() && m_starts.size() <= limit;) {
            const qsizetype at = matcher.indexIn(page, from);
            if (at < 0)
                break;
            m_starts.append(at);
            from = at + m_markerLength;
        }
    }

    qsizetype count() const { return m_starts.size(); }

    // Piece i, or an empty view when the marker occurs fewer than i times.
    QStringView piece(qsizetype i) const
    {
        if (i < 1 || i > m_starts.size())
            return {};
        const qsizetype begin = m_starts.at(i - 1) + m_markerLength;
        const qsizetype end = i < m_starts.size() ? m_starts.at(i) : m_page.size();
        return m_page.sliced(begin, end - begin);
    }

private:
    QStringView m_page;
    qsizetype m_markerLength;
    QList<qsizetype> m_starts;
};

// The text of a piece before its first "<"; empty when the piece holds none.
QString fieldOf(QStringView piece)
{
    const qsizetype end = piece.indexOf(u'<');
    return end < 0 ? QString() : piece.first(end).toString();
}

} // namespace

QList<ResourceEntry> parseEntries(QStringView page, const Config::SiteProfile &profile)
{
    // Only the entry marker needs counting to the end; the others stop once they cover N.
    const MarkerCut entries(page, profile.entryMarker, page.size());
    const qsizetype n = entries.count();
    if (n == 0)
        return {};
    const MarkerCut titles(page, profile.titleMarker, n);
    const MarkerCut fileCounts(page, profile.fileCountMarker, n);
    const MarkerCut extractionCodes(page, profile.extractionCodeMarker, n);
    const qsizetype idLength = profile.entryIdLength;

    QList<ResourceEntry> result;
    result.reserve(n);
    for (qsizetype i = 1; i <= n; ++i) {
        ResourceEntry &entry = result.emplace_back();
        entry.number = QString::number(i);
        entry.title = fieldOf(titles.piece(i));
        entry.fileCount = fieldOf(fileCounts.piece(i));
        const QStringView idPiece = entries.piece(i);
        entry.entryId = idPiece.first(std::min(idLength, idPiece.size())).toString();
        entry.extractionCode = fieldOf(extractionCodes.piece(i));
    }
    return result;
}

bool isUnrecognisedPage(QStringView page, const Config::SiteProfile &profile)
{
    const auto shows = [page](const QString &text) { return page.contains(text); };
    return !page.isEmpty() && !shows(profile.entryMarker)
        && std::none_of(profile.emptyResultWordings.cbegin(), profile.emptyResultWordings.cend(), shows);
}

} // namespace Harvest
