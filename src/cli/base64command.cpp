#include "cli/base64command.h"

#include "cli/commandarguments.h"
#include "cli/fileformexit.h"
#include "crypto/base64/base64endecode.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

// The class decodes a Base64 text that ends two or three characters into a group as nothing,
// and would put an empty file in place of the output. Such a file was cut off: it is refused
// and the output left alone. One character over is the class's to ignore (a line end, say).
// Pipes report no size; their content is decoded as it comes.
Crypto::FileOutcome refuseCutOffGroup(const QString &base64File)
{
    const QFileInfo file(base64File);
    if (!file.isFile() || file.size() % 4 < 2)
        return Crypto::FileOutcome::success();
    return Crypto::FileOutcome::failure(base64File, u"cut off inside its last group of four characters"_s);
}

} // namespace

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
        if (words.size() == 3 && mode == u"decode-file") {
            Crypto::FileOutcome outcome = refuseCutOffGroup(words[2]);
            if (outcome.written)
                outcome = codec.Base64FileDecode(words[1], words[2]);
            return fileFormExit(context, "base64", words[2], words[1], outcome);
        }
    }

    return usageError(context, arguments.error.isEmpty() ? QString() : u"base64: "_s + arguments.error);
}

} // namespace Cli
