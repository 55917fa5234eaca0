#include "cli/commands.h"

#include "cli/aescommand.h"

#include <array>

namespace Cli {

std::span<const Command> commands()
{
    static const std::array table{
        Command{"aes", aesCommand, AesUsage},
    };
    return table;
}

} // namespace Cli
