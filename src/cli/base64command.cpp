#include "cli/base64command.h"

#include "cli/commandarguments.h"
#include "cli/fileformexit.h"
#include "crypto/base64endecode.h"

namespace Cli {

int runBase64(const Context &context)
{
    const CommandArguments arguments = parseCommandArguments(context.arguments, {});
    const QStringList &words = arguments.positional;
    const QString mode = words.value(0);
    const Crypto::CBase64EnDeCode codec;

    if (arguments.error.isEmpty()) {
        if (words.size() == 2 && mode == u"encode") {
            context.out << codec.Base64StringEncode(words[1]) << '\n';
            return Success;
        }
        if (words.size() == 2 && mode == u"decode") {
            context.out << codec.Base64StringDecode(words[1]) << '\n';
            return Success;
        }
        if (words.size() == 3 && mode == u"encode-file")
            return fileFormExit(context, "base64", words[1], words[2], codec.Base64FileEncode(words[1], words[2]));
        if (words.size() == 3 && mode == u"decode-file")
            return fileFormExit(context, "base64", words[2], words[1], codec.Base64FileDecode(words[1], words[2]));
    }

    if (!arguments.error.isEmpty())
        context.err << "base64: " << arguments.error << '\n';
    context.err << "usage:\n" << kBase64Usage << '\n';
    return BadUsage;
}

} // namespace Cli
