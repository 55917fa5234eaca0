#include "cli/commands.h"

#include "cli/harvestcommand.h"

namespace Cli {

std::span<const Command> commands()
{
    static const Command kTable[] = {
        {"harvest", runHarvest, kHarvestUsage},
    };
    return kTable;
}

} // namespace Cli
