// Entry parsing of a listing page of about 1 MB, against the plain way of cutting it: split the
// whole page at each of the four markers and pair the pieces.
#include "harvest/entryparser.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

namespace {

QString entryMarkup(int i)
{
    const QString id = QStringLiteral("%1").arg(i, 18, 10, QChar(u'0'));
    QString html = QStringLiteral("<div class='item'><a href='/id-") + id + QStringLiteral(".html' target='_blank'>");
    html += QStringLiteral("<dd class='fff' id='") + id + QStringLiteral("'><dfn>分享资源 第") + QString::number(i);
    html += QStringLiteral("号 高清合集</dfn><span class='ssite'>") + QString::number(i % 97);
    html += QStringLiteral("个文件</span><span class='time'>2013-05-01</span><span class='sma'>k") + QString::number(i % 9973);
    html += QStringLiteral("</span></dd></a><p class='desc'>这是一段用来占位的说明文字，和真实页面上的介绍差不多长。</p></div>\n");
    return html;
}

// About 1 MB (in UTF-8) of listing page: entries wrapped in the kind of markup a real page carries.
const QString &listingPage()
{
    static const QString page = [] {
        QString html = QStringLiteral("<html><head><meta charset=\"gbk\"><title>资源列表</title></head><body>\n");
        qsizetype bytes = 0;
        for (int i = 0; bytes < 1'000'000; ++i) {
            const QString entry = entryMarkup(i);
            bytes += entry.toUtf8().size();
            html += entry;
        }
        html += QStringLiteral("</body></html>\n");
        return html;
    }();
    return page;
}

QString fieldOf(const QString &piece)
{
    const qsizetype end = piece.indexOf(u'<');
    return end < 0 ? QString() : piece.left(end);
}

// The straightforward cut: four whole-page splits into lists of pieces.
QList<Harvest::ResourceEntry> splitReference(const QString &page, const Config::SiteProfile &profile)
{
    const QStringList e = page.split(profile.entryMarker);
    const QStringList t = page.split(profile.titleMarker);
    const QStringList f = page.split(profile.fileCountMarker);
    const QStringList x = page.split(profile.extractionCodeMarker);
    QList<Harvest::ResourceEntry> entries;
    for (qsizetype i = 1; i < e.size(); ++i) {
        Harvest::ResourceEntry &entry = entries.emplace_back();
        entry.number = QString::number(i);
        entry.title = i < t.size() ? fieldOf(t.at(i)) : QString();
        entry.fileCount = i < f.size() ? fieldOf(f.at(i)) : QString();
        entry.entryId = e.at(i).left(profile.entryIdLength);
        entry.extractionCode = i < x.size() ? fieldOf(x.at(i)) : QString();
    }
    return entries;
}

void setCounters(benchmark::State &state, qsizetype entries)
{
    state.SetBytesProcessed(state.iterations() * listingPage().toUtf8().size());
    state.counters["entries"] = static_cast<double>(entries);
}

void BM_parseEntries(benchmark::State &state)
{
    const QString &page = listingPage();
    const Config::SiteProfile profile;
    qsizetype entries = 0;
    for (auto _ : state) {
        const QList<Harvest::ResourceEntry> rows = Harvest::parseEntries(page, profile);
        entries = rows.size();
        benchmark::DoNotOptimize(rows.constData());
    }
    setCounters(state, entries);
}

void BM_splitReference(benchmark::State &state)
{
    const QString &page = listingPage();
    const Config::SiteProfile profile;
    qsizetype entries = 0;
    for (auto _ : state) {
        const QList<Harvest::ResourceEntry> rows = splitReference(page, profile);
        entries = rows.size();
        benchmark::DoNotOptimize(rows.constData());
    }
    setCounters(state, entries);
}

} // namespace

BENCHMARK(BM_parseEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_splitReference)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
