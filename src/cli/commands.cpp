#include "cli/commands.h"

#include <array>

namespace Cli {

std::span<const Command> commands()
{
    static const std::array<Command, 0> table{};
    return table;
}

} // namespace Cli
