#include "cli/fileformexit.h"

namespace Cli {

int fileFormExit(const Context &context, const char *command, const QString &input, const QString &output,
                 const Crypto::FileOutcome &outcome, bool messageShown)
{
    if (outcome.written)
        return Success;
    if (!outcome.file.isEmpty()) {
        const char *verb = outcome.file == input ? ": cannot read " : ": cannot write ";
        context.err << command << verb << outcome.file << ": " << outcome.reason << '\n';
    } else if (!messageShown) {
        context.err << command << ": cannot write " << output << '\n';
    }
    return Failure;
}

} // namespace Cli
