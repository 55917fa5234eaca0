#include "cli/base64command.h"

#include "cli/commandarguments.h"
#include "crypto/base64endecode.h"

#include <QFileInfo>

#include <functional>

namespace Cli {

namespace {

// The codec ends quietly on a bad file; the command says which file was the trouble.
int runOnFiles(const Context &context, const QString &input, const QString &output,
               const std::function<void()> &operation)
{
    const QFileInfo info(input);
    if (!info.isFile() || !info.isReadable()) {
        context.err << "base64: cannot read " << input << '\n';
        return Failure;
    }
    operation();
    if (!QFileInfo::exists(output)) {
        context.err << "base64: cannot write " << output << '\n';
        return Failure;
    }
    return Success;
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
            return runOnFiles(context, words[1], words[2], [&] { codec.Base64FileEncode(words[1], words[2]); });
        if (words.size() == 3 && mode == u"decode-file")
            return runOnFiles(context, words[2], words[1], [&] { codec.Base64FileDecode(words[1], words[2]); });
    }

    if (!arguments.error.isEmpty())
        context.err << "base64: " << arguments.error << '\n';
    context.err << "usage:\n" << kBase64Usage << '\n';
    return BadUsage;
}

} // namespace Cli
