#include "cli/harvestcommand.h"

#include "cli/commandarguments.h"
#include "cli/harvestrun.h"
#include "cli/rawflag.h"

#include <QString>

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
    options.error = readPageNumber(arguments, options.page);
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

    return runHarvester(context, "harvest", options.format, options.formulas,
                        [&options](Harvest::Harvester &harvester) { return harvester.harvestPage(options.page); });
}

} // namespace Cli
