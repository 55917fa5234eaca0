#include "cli/commands.h"

#include "cli/aescommand.h"
#include "cli/base64command.h"
#include "cli/configcommand.h"
#include "cli/crawlcommand.h"
#include "cli/harvestcommand.h"
#include "cli/librarycommand.h"
#include "cli/logincommand.h"
#include "cli/md5command.h"
#include "cli/profilecommand.h"
#include "cli/rndxorcommand.h"
#include "cli/searchcommand.h"
#include "cli/watchcommand.h"

namespace Cli {

std::span<const Command> commands()
{
    static const Command kTable[] = {
        {"harvest", &runHarvest, kHarvestSynopsis, kHarvestOptions},
        {"search", &runSearch, kSearchSynopsis, kSearchOptions},
        {"crawl", &runCrawl, kCrawlSynopsis, kCrawlOptions},
        {"library", &runLibrary, kLibrarySynopsis, kLibraryOptions},
        {"watch", &runWatch, kWatchSynopsis, kWatchOptions},
        {"aes", &runAes, kAesSynopsis, kAesOptions},
        {"md5", &runMd5, kMd5Synopsis, kMd5Options},
        {"base64", &runBase64, kBase64Synopsis, {}},
        {"rndxor", &runRndXor, kRndXorSynopsis, kRndXorOptions},
        {"login", &runLogin, kLoginSynopsis, kLoginOptions},
        {"profile", &runProfile, kProfileSynopsis, kProfileOptions},
        {"config", &runConfig, kConfigSynopsis, {}},
    };
    return kTable;
}

QString usageOf(const Command &command)
{
    return QString::fromUtf8(command.synopsis) + u'\n' + optionsHelp(command.options);
}

} // namespace Cli
