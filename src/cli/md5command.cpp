#include "cli/md5command.h"

#include "cli/commandarguments.h"
#include "crypto/ciphererror.h"
#include "crypto/md5/md5encrypt.h"

using namespace Qt::StringLiterals;

namespace Cli {

int runMd5(const Context &context)
{
    const CommandArguments arguments = parseCommandArguments(context.arguments, kMd5Options);
    const bool fromFile = arguments.options.contains(QStringLiteral("file"));
    if (!arguments.error.isEmpty() || arguments.positional.size() != (fromFile ? 0 : 1)) {
        return usageError(context, arguments.error.isEmpty() ? QString() : u"md5: "_s + arguments.error);
    }

    Crypto::CMD5Encrypt md5;
    try {
        context.out << (fromFile ? md5.DigestFileToHexStr(arguments.options.value(QStringLiteral("file")))
                                 : md5.DigestStrToHexStr(arguments.positional.first()))
                    << '\n';
    } catch (const Crypto::CipherError &error) {
        context.err << "md5: " << error.description() << " (" << error.number() << ")\n";
        return Failure;
    }
    return Success;
}

} // namespace Cli
