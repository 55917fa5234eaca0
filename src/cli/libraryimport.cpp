#include "cli/libraryimport.h"

#include "text/printable.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

// A crawl's line is a few hundred bytes; a longer one is not a crawl's.
constexpr qint64 kLongestLine = 64 * 1024;
constexpr qsizetype kRowsPerTransaction = 1000;

// The sighting of one line, or why the line is refused.
std::optional<Library::Sighting> sightingOf(const QByteArray &line, const QString &sharePrefix, QString &why)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (!document.isObject()) {
        why = error.error == QJsonParseError::NoError ? u"not a JSON object"_s : error.errorString();
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    Library::Sighting sighting;
    Harvest::ResourceEntry &entry = sighting.entry;
    entry.title = object.value(u"title"_s).toString();
    entry.fileCount = object.value(u"fileCount"_s).toString();
    entry.shareCode = object.value(u"shareCode"_s).toString();
    entry.extractionCode = object.value(u"extractionCode"_s).toString();
    if (const QJsonValue number = object.value(u"number"_s); number.isDouble())
        entry.number = QString::number(number.toInt());
    sighting.shareUrl = object.value(u"shareUrl"_s).toString();
    if (sighting.shareUrl.isEmpty() && !entry.shareCode.isEmpty())
        sighting.shareUrl = sharePrefix + entry.shareCode;
    if (entry.title.isEmpty() || sighting.shareUrl.isEmpty()) {
        why = u"no title, or neither shareUrl nor shareCode"_s;
        return std::nullopt;
    }
    if (const QJsonValue page = object.value(u"page"_s); page.isDouble())
        sighting.page = page.toInt();
    sighting.seenAt = QDateTime::currentDateTimeUtc();
    if (const auto state = Crawl::parseLinkState(object.value(u"link"_s).toString())) {
        Library::LinkCheck check;
        check.verdict.state = *state;
        check.verdict.reason = Crawl::parseDeadReason(object.value(u"linkReason"_s).toString()).value_or(Crawl::DeadReason::None);
        check.checkedAt = QDateTime::fromString(object.value(u"checkedAt"_s).toString(), Qt::ISODate);
        if (!check.checkedAt.isValid())
            check.checkedAt = sighting.seenAt;
        sighting.link = check;
    }
    return sighting;
}

} // namespace

int importJsonLines(const Context &context, Library::Store &store, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        context.err << "library import: cannot read " << path << ": " << file.errorString() << '\n';
        return Failure;
    }
    qint64 run = 0;
    QString error = store.startRun(Library::RunKind::Import, QFileInfo(path).fileName(), run);
    QList<Library::Sighting> batch;
    int lineNumber = 0;
    int bad = 0;
    int imported = 0;
    const auto flush = [&] {
        if (error.isEmpty() && !batch.isEmpty())
            error = store.recordBatch(run, batch);
        imported += error.isEmpty() ? int(batch.size()) : 0;
        batch.clear();
    };
    while (error.isEmpty() && !file.atEnd()) {
        QByteArray line = file.readLine(kLongestLine + 1);
        ++lineNumber;
        QString why;
        if (line.size() > kLongestLine && !line.endsWith('\n')) {
            why = u"longer than "_s + QString::number(kLongestLine) + u" bytes"_s;
            while (!file.atEnd() && !file.readLine(kLongestLine + 1).endsWith('\n')) {
            }
        } else if (line.trimmed().isEmpty()) {
            continue;
        } else if (auto sighting = sightingOf(line, context.endpoints.sharePrefix, why)) {
            batch.append(std::move(*sighting));
            if (batch.size() >= kRowsPerTransaction)
                flush();
            continue;
        }
        ++bad;
        context.err << "library import: " << path << ':' << lineNumber << ": skipped: " << Text::printable(why) << '\n';
    }
    flush();
    if (error.isEmpty())
        error = store.indexPendingTitles();
    if (error.isEmpty())
        error = store.endRun(run, bad > 0 ? u"partial"_s : u"imported"_s);
    if (!error.isEmpty()) {
        context.err << "library import: " << error << '\n';
        return Failure;
    }
    context.err << "library import: " << imported << " rows imported, " << bad << " skipped\n";
    return bad > 0 ? Partial : Success;
}

} // namespace Cli
