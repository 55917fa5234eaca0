#include "cli/librarycommand.h"

#include "cli/libraryaccess.h"
#include "cli/libraryimport.h"
#include "library/shareexport.h"
#include "library/sharetemplate.h"
#include "text/printable.h"
#include "text/wholenumber.h"

#include <QDate>
#include <QDateTime>

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

constexpr qint64 kMostRows = 1000000000;

// "YYYY-MM-DD" (local midnight) or an ISO 8601 date and time.
std::optional<QDateTime> parseDate(const QString &text)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid() && text.size() == 10)
        return date.startOfDay();
    const QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

// The search filters of arguments in query; the error line, empty when they are fine.
QString readQuery(const CommandArguments &arguments, Library::Query &query)
{
    for (const QString &name : arguments.options.value(u"link"_s).split(u',', Qt::SkipEmptyParts)) {
        const auto state = Crawl::parseLinkState(name.trimmed());
        if (!state)
            return u"--link: live, locked, dead, limited or unknown, not "_s + name;
        query.states.append(*state);
    }
    if (arguments.options.contains(u"since"_s)) {
        const auto since = parseDate(arguments.options.value(u"since"_s));
        if (!since)
            return u"--since: not a date (YYYY-MM-DD): "_s + arguments.options.value(u"since"_s);
        query.since = *since;
    }
    if (arguments.options.contains(u"source"_s)) {
        const QString source = arguments.options.value(u"source"_s);
        const QString watchPrefix = u"watch:"_s;
        const bool page = source == u"page" || Text::wholeNumber(source, 10, 0, 32767).has_value();
        query.source = page ? Library::SourceKind::Page : Library::SourceKind::Keyword;
        if (source == u"watch" || source.startsWith(watchPrefix)) {
            query.source = Library::SourceKind::Watch;
            query.sourceValue = source.mid(watchPrefix.size());
        } else if (source != u"page" && source != u"keyword") {
            query.sourceValue = source;
        }
    }
    if (arguments.options.contains(u"limit"_s)) {
        const auto limit = Text::wholeNumber(arguments.options.value(u"limit"_s), 10, 1, kMostRows);
        if (!limit)
            return u"--limit: not a whole number from 1 to "_s + QString::number(kMostRows);
        query.limit = static_cast<int>(*limit);
    }
    query.includeHidden = arguments.flags.contains(u"hidden"_s);
    return {};
}

QString timeText(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODate) : QString();
}

QString tsvLine(const Library::ShareRecord &share)
{
    QStringList fields{share.title, share.fileCount, share.shareCode, share.extractionCode, share.shareUrl,
                       share.link ? Crawl::linkStateName(share.link->state) : QString(),
                       timeText(share.firstSeen), timeText(share.lastSeen)};
    for (QString &field : fields)
        field = Text::printable(field);
    return fields.join(u'\t') + u'\n';
}

int search(const Context &context, const Library::Store &store, const CommandArguments &arguments, Library::Query query)
{
    const QString format = arguments.options.value(u"format"_s, u"jsonl"_s);
    if (format != u"tsv" && format != u"jsonl" && format != u"csv")
        return usageError(context, u"library search: --format: jsonl, csv or tsv, not "_s + format);
    const QList<Library::ShareRecord> shares = store.search(query);
    if (format == u"tsv") {
        for (const Library::ShareRecord &share : shares)
            context.out << tsvLine(share);
    } else {
        Library::ExportOptions options;
        options.format = format == u"csv" ? Library::ExportFormat::Csv : Library::ExportFormat::JsonLines;
        QString text = QString::fromUtf8(Library::exportBytes(shares, options));
        if (text.startsWith(QChar::ByteOrderMark)) // for files, not for a pipe
            text.remove(0, 1);
        context.out << text;
    }
    return shares.isEmpty() ? Failure : Success;
}

int exportShares(const Context &context, const Library::Store &store, const CommandArguments &arguments,
                 const Library::Query &query)
{
    const QString output = arguments.options.value(u"output"_s);
    if (output.isEmpty())
        return usageError(context, u"library export: --output FILE is needed"_s);
    Library::ExportOptions options;
    const auto format = Library::parseExportFormat(arguments.options.value(u"format"_s, u"template"_s));
    const auto encoding = Library::parseExportEncoding(arguments.options.value(u"encoding"_s, u"utf-8"_s));
    if (!format || !encoding)
        return usageError(context, u"library export: --format template, csv or jsonl; --encoding utf-8 or gbk"_s);
    options.format = *format;
    options.encoding = *encoding;
    options.shareTemplate = arguments.options.value(u"template"_s, Library::defaultShareTemplate(context.endpoints.profile));
    for (const QString &unknown : Library::unknownPlaceholders(options.shareTemplate))
        context.err << "library export: " << unknown << " is not a placeholder; it is written as it stands\n";
    const QList<Library::ShareRecord> shares = store.search(query);
    if (shares.isEmpty()) {
        context.err << "library export: no share matches; " << output << " was not written\n";
        return Failure;
    }
    if (const QString why = Library::writeShareExport(output, shares, options); !why.isEmpty()) {
        context.err << "library export: " << why << '\n';
        return Failure;
    }
    context.err << "library export: " << shares.size() << " shares written to " << output << '\n';
    return Success;
}

int stats(const Context &context, const Library::Store &store)
{
    const Library::Stats stats = store.stats();
    context.out << "library: " << store.path() << '\n'
                << "shares: " << stats.shares << " (with share code " << stats.withCode << ", hidden " << stats.hidden
                << ")\n"
                << "sightings: " << stats.sightings << "\nruns: " << stats.runs << '\n';
    if (stats.firstSeen.isValid())
        context.out << "first seen: " << timeText(stats.firstSeen) << "\nlast seen: " << timeText(stats.lastSeen) << '\n';
    for (auto it = stats.byLinkState.cbegin(); it != stats.byLinkState.cend(); ++it)
        context.out << "link " << it.key() << ": " << it.value() << '\n';
    return Success;
}

int forget(const Context &context, Library::Store &store, const CommandArguments &arguments)
{
    const auto before = parseDate(arguments.options.value(u"before"_s));
    if (!before)
        return usageError(context, u"library forget: --before DATE (YYYY-MM-DD) is needed"_s);
    qint64 forgotten = 0;
    if (const QString error = store.forgetBefore(*before, forgotten); !error.isEmpty()) {
        context.err << "library forget: " << error << '\n';
        return Failure;
    }
    context.err << "library forget: " << forgotten << " shares forgotten\n";
    return Success;
}

} // namespace

int runLibrary(const Context &context)
{
    const QString action = context.arguments.value(0);
    const CommandArguments arguments = parseCommandArguments(context.arguments.mid(1), kLibraryOptions);
    const QStringList actions{u"search"_s, u"stats"_s, u"export"_s, u"import"_s, u"forget"_s};
    if (!actions.contains(action))
        return usageError(context, u"library: search, stats, export, import or forget"_s);
    if (!arguments.error.isEmpty())
        return usageError(context, u"library "_s + action + u": "_s + arguments.error);
    const qsizetype mostPositional = action == u"search" || action == u"export" || action == u"import" ? 1 : 0;
    if (arguments.positional.size() > mostPositional
        || ((action == u"search" || action == u"import") && arguments.positional.isEmpty()))
        return usageError(context, u"library "_s + action + u": "_s
                                       + (arguments.positional.isEmpty() ? u"missing argument"_s
                                                                         : u"unexpected argument "_s + arguments.positional.last()));
    Library::Query query;
    query.text = arguments.positional.value(0);
    if (const QString error = readQuery(arguments, query); !error.isEmpty())
        return usageError(context, u"library "_s + action + u": "_s + error);
    const bool writes = action == u"import" || action == u"forget";
    const RequiredLibrary library = requireLibrary(context, u"library"_s, action, writes);
    if (!library.store)
        return library.exit;
    Library::Store &store = *library.store;
    if (action == u"search")
        return search(context, store, arguments, query);
    if (action == u"export")
        return exportShares(context, store, arguments, query);
    if (action == u"stats")
        return stats(context, store);
    if (action == u"import")
        return importJsonLines(context, store, arguments.positional.first());
    return forget(context, store, arguments);
}

} // namespace Cli
