#include "cli/commands.h"

#include "cli/aescommand.h"
#include "cli/base64command.h"
#include "cli/crawlcommand.h"
#include "cli/harvestcommand.h"
#include "cli/logincommand.h"
#include "cli/md5command.h"
#include "cli/profilecommand.h"
#include "cli/rndxorcommand.h"
#include "cli/searchcommand.h"

namespace Cli {

std::span<const Command> commands()
{
    static const Command kTable[] = {
        {"harvest", &runHarvest, kHarvestUsage},
        {"search", &runSearch, kSearchUsage},
        {"crawl", &runCrawl, kCrawlUsage},
        {"aes", &runAes, kAesUsage},
        {"md5", &runMd5, kMd5Usage},
        {"base64", &runBase64, kBase64Usage},
        {"rndxor", &runRndXor, kRndXorUsage},
        {"login", &runLogin, kLoginUsage},
        {"profile", &runProfile, kProfileUsage},
    };
    return kTable;
}

} // namespace Cli
