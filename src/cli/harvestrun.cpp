#include "cli/harvestrun.h"

#include "cli/libraryaccess.h"
#include "harvest/entryparser.h"
#include "harvest/resultlist.h"
#include "harvest/siteurls.h"
#include "library/harvestrecording.h"
#include "text/printable.h"

using namespace Qt::StringLiterals;

namespace Cli {

QString readRowFormat(const CommandArguments &arguments, RowFormat &format)
{
    format = RowFormat::Tsv;
    const auto value = arguments.options.constFind(u"format"_s);
    if (value == arguments.options.cend() || *value == u"tsv")
        return {};
    if (*value == u"json") {
        format = RowFormat::Json;
        return {};
    }
    return u"--format: tsv or json, not "_s + *value;
}

QString readPageNumber(const CommandArguments &arguments, qint16 &page)
{
    const QString value = arguments.options.value(u"page"_s);
    const std::optional<qint16> number = Harvest::pageNumber(value);
    page = number.value_or(0);
    if (number || !arguments.options.contains(u"page"_s))
        return {};
    return u"--page: not a page number from 0 to 32767: "_s + value;
}

int runHarvester(const Context &context, const char *command, RowFormat format, Harvest::Formulas formulas,
                 const std::function<Harvest::HarvestResult(Harvest::Harvester &)> &start)
{
    Harvest::ResultList list;
    Harvest::Harvester harvester(list, context.endpoints);
    QObject::connect(&harvester, &Harvest::Harvester::statusChanged, [&context](const QString &text) {
        context.err << text << '\n';
        context.err.flush();
    });
    const std::unique_ptr<Library::Store> store = openLibraryFor(context, command);
    const Library::HarvestRecording recording(harvester, store.get(), context.endpoints.sharePrefix,
                                              [&context, command](const QString &line) {
                                                  context.err << QLatin1StringView(command) << ": " << line << '\n';
                                              });

    const Harvest::HarvestResult result = start(harvester);
    switch (result.outcome) {
    case Harvest::HarvestOutcome::Rows:
        context.out << (format == RowFormat::Json ? Harvest::toJson(list.entries()) : Harvest::toTsv(list.entries(), formulas));
        if (!result.detailPassStopped)
            return Success;
        if (const int row = result.stoppedAtRow; row >= 0 && row < list.rowCount()) {
            const Harvest::ResourceEntry &entry = list.entry(row);
            context.err << u"部分完成: 第"_s << Text::printable(entry.number) << u"行 ("_s << Text::printable(entry.entryId)
                        << u") 的详情页没有资源码, 此行及以后各行的资源码为空"_s << '\n';
        }
        return Partial;
    case Harvest::HarvestOutcome::NoEntries:
        if (result.probableLayoutChange)
            context.err << Harvest::kLayoutChangeHint << '\n';
        context.err << (result.kind == Harvest::RunKind::Search ? u"未搜索到相关资源"_s : u"未获取到任何资源"_s) << '\n';
        return Failure;
    case Harvest::HarvestOutcome::ListingFailed:
    case Harvest::HarvestOutcome::Superseded:
        break;
    }
    return Unreachable;
}

} // namespace Cli
