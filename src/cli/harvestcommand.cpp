#include "cli/harvestcommand.h"

#include "cli/commandarguments.h"
#include "cli/harvestrun.h"
#include "cli/rawflag.h"
#include "harvest/siteurls.h"

#include <QString>

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

struct HarvestOptions
{
    qint16 page = 0;
    RowFormat format = RowFormat::Tsv;
    Harvest::Formulas formulas = Harvest::Formulas::Defused;
    QString error; // empty when the arguments are fine
};

HarvestOptions parseOptions(const QStringList &words)
{
    HarvestOptions options;
    const CommandArguments arguments = parseCommandArguments(words, kHarvestOptions);
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
        const std::optional<qint16> page = Harvest::pageNumber(value);
        if (!page)
            options.error = QStringLiteral("--page: not a page number from 0 to 32767: ") + value;
        options.page = page.value_or(0);
    }
    if (options.error.isEmpty())
        options.error = readRowFormat(arguments, options.format);
    options.formulas = formulasOf(arguments);
    return options;
}

} // namespace

int runHarvest(const Context &context)
{
    const HarvestOptions options = parseOptions(context.arguments);
    if (!options.error.isEmpty())
        return usageError(context, options.error);

    return runHarvester(context, options.format, options.formulas,
                        [&options](Harvest::Harvester &harvester) { return harvester.harvestPage(options.page); });
}

} // namespace Cli
