#include "cli/commands.h"

#include "cli/aescommand.h"
#include "cli/base64command.h"
#include "cli/md5command.h"
#include "cli/rndxorcommand.h"

#include <array>

namespace Cli {

std::span<const Command> commands()
{
    static const std::array table{
        Command{"aes", &runAes, kAesUsage},
        Command{"md5", &runMd5, kMd5Usage},
        Command{"base64", &runBase64, kBase64Usage},
        Command{"rndxor", &runRndXor, kRndXorUsage},
    };
    return table;
}

} // namespace Cli
