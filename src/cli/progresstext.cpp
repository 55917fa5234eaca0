#include "cli/progresstext.h"

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

constexpr int kBarWidth = 20;

double seconds(std::chrono::milliseconds elapsed)
{
    return static_cast<double>(elapsed.count()) / 1000.0;
}

// ", live N, locked N, dead N, limited N, unknown N"
QString linkCounts(const Crawl::LinkCounts &counts)
{
    QString text;
    for (int i = 0; i <= static_cast<int>(Crawl::LinkState::Unknown); ++i) {
        const auto state = static_cast<Crawl::LinkState>(i);
        text += u", "_s + Crawl::linkStateName(state) + u' ' + QString::number(counts[state]);
    }
    return text;
}

QString links(const Crawl::CrawlProgress &progress, bool checkLinks)
{
    return checkLinks ? linkCounts(progress.links) : QString();
}

// "m:ss" still to go at the pace so far; "?" before the first page is done.
QString eta(const Crawl::CrawlProgress &progress)
{
    if (progress.pagesDone <= 0)
        return u"?"_s;
    const double perPage = seconds(progress.elapsed) / progress.pagesDone;
    const auto left = static_cast<qint64>(perPage * (progress.pagesPlanned - progress.pagesDone) + 0.5);
    return QString::number(left / 60) + u':' + QStringLiteral("%1").arg(left % 60, 2, 10, QChar(u'0'));
}

} // namespace

QString progressBar(const Crawl::CrawlProgress &progress, bool checkLinks)
{
    const int planned = qMax(progress.pagesPlanned, 1);
    const int filled = kBarWidth * qBound(0, progress.pagesDone, planned) / planned;
    const double elapsed = seconds(progress.elapsed);
    const double rate = elapsed > 0 ? progress.rowsWritten / elapsed : 0.0;
    return u'[' + QString(filled, u'#') + QString(kBarWidth - filled, u'-') + u"] page "_s
        + QString::number(qMin(progress.pagesDone + 1, progress.pagesPlanned)) + u" of "_s
        + QString::number(progress.pagesPlanned) + u", rows "_s + QString::number(progress.rowsWritten)
        + links(progress, checkLinks) + u", "_s + QString::number(rate, 'f', 1) + u" rows/s, ETA "_s + eta(progress);
}

QString progressLine(const Crawl::CrawlProgress &progress, bool checkLinks)
{
    const QString page = progress.endedPage ? u"page "_s + QString::number(*progress.endedPage) : u"keyword results"_s;
    return page + u" done ("_s + QString::number(progress.pagesDone) + u" of "_s
        + QString::number(progress.pagesPlanned) + u"), rows "_s + QString::number(progress.rowsWritten)
        + links(progress, checkLinks) + u'\n';
}

QString summaryLine(const Crawl::CrawlSummary &summary)
{
    return u"pages read "_s + QString::number(summary.pagesRead) + u", pages failed "_s
        + QString::number(summary.pagesFailed) + u", detail pages failed "_s + QString::number(summary.detailsFailed)
        + u", rows written "_s + QString::number(summary.rowsWritten) + u", duplicates skipped "_s
        + QString::number(summary.duplicates)
        + (summary.known > 0 ? u", known already "_s + QString::number(summary.known) : QString()) + linkCounts(summary.links) + u", disallowed "_s
        + QString::number(summary.disallowed) + u", seconds "_s
        + QString::number(seconds(summary.elapsed), 'f', 1) + (summary.stopped ? u", stopped\n"_s : u"\n"_s);
}

} // namespace Cli
