#include "cli/harvestcommand.h"

#include "cli/commandarguments.h"
#include "harvest/harvester.h"
#include "harvest/resultlist.h"
#include "harvest/tabularoutput.h"

#include <QString>

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

enum class Format { Tsv, Json };

struct HarvestOptions
{
    qint16 page = 0;
    Format format = Format::Tsv;
    QString error; // empty when the arguments are fine
};

// 0..32767 in plain decimal digits.
std::optional<qint16> parsePage(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int page = text.toInt();
    return page <= 32767 ? std::optional<qint16>(static_cast<qint16>(page)) : std::nullopt;
}

std::optional<Format> parseFormat(const QString &text)
{
    if (text == u"tsv")
        return Format::Tsv;
    if (text == u"json")
        return Format::Json;
    return std::nullopt;
}

HarvestOptions parseOptions(const QStringList &words)
{
    HarvestOptions options;
    const CommandArguments arguments = parseCommandArguments(words, {"page", "format"});
    if (!arguments.error.isEmpty()) {
        options.error = QStringLiteral("harvest: ") + arguments.error;
        return options;
    }
    if (!arguments.positional.isEmpty()) {
        options.error = QStringLiteral("harvest: unexpected argument ") + arguments.positional.first();
        return options;
    }
    if (arguments.options.contains(QStringLiteral("page"))) {
        const QString value = arguments.options.value(QStringLiteral("page"));
        const std::optional<qint16> page = parsePage(value);
        if (!page)
            options.error = QStringLiteral("--page: not a page number from 0 to 32767: ") + value;
        options.page = page.value_or(0);
    }
    if (options.error.isEmpty() && arguments.options.contains(QStringLiteral("format"))) {
        const QString value = arguments.options.value(QStringLiteral("format"));
        const std::optional<Format> format = parseFormat(value);
        if (!format)
            options.error = QStringLiteral("--format: tsv or json, not ") + value;
        options.format = format.value_or(Format::Tsv);
    }
    return options;
}

} // namespace

int runHarvest(const Context &context)
{
    const HarvestOptions options = parseOptions(context.arguments);
    if (!options.error.isEmpty()) {
        context.err << options.error << '\n' << "usage:\n" << QString::fromUtf8(kHarvestUsage) << '\n';
        return BadUsage;
    }

    Harvest::ResultList list;
    Harvest::Harvester harvester(list, context.endpoints);
    QObject::connect(&harvester, &Harvest::Harvester::statusChanged, [&context](const QString &text) {
        context.err << text << '\n';
        context.err.flush();
    });

    const Harvest::HarvestResult result = harvester.harvestPage(options.page);
    switch (result.outcome) {
    case Harvest::HarvestOutcome::Rows:
        context.out << (options.format == Format::Json ? Harvest::toJson(list.entries()) : Harvest::toTsv(list.entries()));
        if (result.detailPassStopped) {
            const Harvest::ResourceEntry &entry = list.entry(result.stoppedAtRow);
            context.err << u"部分完成: 第"_s << entry.number << u"行 ("_s << entry.entryId
                        << u") 的详情页没有资源码, 此行及以后各行的资源码为空"_s << '\n';
            return PartlyDone;
        }
        return Success;
    case Harvest::HarvestOutcome::NoEntries:
        context.err << QStringLiteral("未获取到任何资源") << '\n';
        return Failure;
    case Harvest::HarvestOutcome::ListingFailed:
    case Harvest::HarvestOutcome::Superseded:
        break;
    }
    return ListingFailed;
}

} // namespace Cli
