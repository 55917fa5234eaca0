#include "cli/rndxorcommand.h"

#include "cli/commandarguments.h"
#include "cli/fileformexit.h"
#include "cli/messagecapture.h"
#include "cli/passwordoption.h"
#include "crypto/rndxor/rndxorhash.h"
#include "text/wholenumber.h"

#include <limits>
#include <optional>

namespace Cli {

namespace {

struct Request
{
    QString mode;
    QString password;
    QStringList operands;
    Crypto::CRndXorHash cipher;
};

// The request, or nullopt after the reason is printed.
std::optional<Request> parseRequest(const Context &context)
{
    const CommandArguments arguments =
        parseCommandArguments(context.arguments, kRndXorOptions);
    QString problem = arguments.error;
    const QString mode = arguments.positional.value(0);
    const bool onFiles = mode.endsWith(u"-file");
    const bool knownMode = mode == u"encrypt" || mode == u"decrypt" || mode == u"encrypt-file" || mode == u"decrypt-file";
    if (problem.isEmpty() && (!knownMode || arguments.positional.size() != (onFiles ? 3 : 2)))
        problem = QStringLiteral("wrong arguments");

    Request request{mode, {}, arguments.positional.mid(1), {}};
    if (problem.isEmpty() && arguments.options.contains(QStringLiteral("key-size"))) {
        const std::optional<qint64> keySize = Text::wholeNumber(arguments.options.value(QStringLiteral("key-size")), 5,
                                                                std::numeric_limits<qint16>::min(),
                                                                std::numeric_limits<qint16>::max());
        if (keySize)
            request.cipher.setKeySize(static_cast<qint16>(*keySize));
        else
            problem = QStringLiteral("--key-size takes a whole number from -32768 to 32767");
    }
    if (problem.isEmpty()) {
        const std::optional<QString> password = readPassword(context, arguments, problem); // last: it may wait for a line
        if (password)
            request.password = *password;
        else if (problem.isEmpty())
            problem = QStringLiteral("--password or --password-stdin is required");
    }
    if (problem.isEmpty())
        return request;
    usageError(context, QStringLiteral("rndxor: ") + problem);
    return std::nullopt;
}

} // namespace

int runRndXor(const Context &context)
{
    std::optional<Request> request = parseRequest(context);
    if (!request)
        return BadUsage;
    const QStringList &operands = request->operands;
    Crypto::CRndXorHash &cipher = request->cipher;
    const MessageCapture messages(context.err);

    if (request->mode == u"encrypt") {
        context.out << cipher.StringEncrypt(operands[0], request->password) << '\n';
    } else if (request->mode == u"decrypt") {
        const QString plaintext = cipher.StringDecrypt(operands[0], request->password);
        if (!messages.shown())
            context.out << plaintext << '\n';
    } else if (request->mode == u"encrypt-file") {
        const Crypto::FileOutcome outcome = cipher.FileEncrypt(operands[0], operands[1], request->password);
        return fileFormExit(context, "rndxor", operands[0], operands[1], outcome, messages.shown());
    } else {
        const Crypto::FileOutcome outcome = cipher.FileDecrypt(operands[0], operands[1], request->password);
        return fileFormExit(context, "rndxor", operands[1], operands[0], outcome, messages.shown());
    }
    return messages.shown() ? Failure : Success;
}

} // namespace Cli
