#include "cli/searchcommand.h"

#include "cli/commandarguments.h"
#include "cli/harvestrun.h"
#include "cli/rawflag.h"
#include "harvest/keywordrefusal.h"

using namespace Qt::StringLiterals;

namespace Cli {

int runSearch(const Context &context)
{
    const CommandArguments arguments = parseCommandArguments(context.arguments, kSearchOptions);
    RowFormat format = RowFormat::Tsv;
    QString error = arguments.error.isEmpty() ? readRowFormat(arguments, format) : u"search: "_s + arguments.error;
    if (error.isEmpty() && arguments.positional.size() != 1)
        error = arguments.positional.isEmpty() ? u"search: no keyword"_s
                                               : u"search: unexpected argument "_s + arguments.positional.at(1);
    if (!error.isEmpty())
        return usageError(context, error);

    const QString keyword = arguments.positional.first();
    if (const QString refusal = Harvest::keywordRefusal(keyword); !refusal.isEmpty()) {
        context.err << refusal << '\n';
        return BadUsage;
    }
    return runHarvester(context, "search", format, formulasOf(arguments), [&keyword](Harvest::Harvester &harvester) { return harvester.searchKeyword(keyword); });
}

} // namespace Cli
