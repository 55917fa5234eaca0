#include "cli/aescommand.h"

#include "cli/commandarguments.h"
#include "cli/messagecapture.h"
#include "cli/passwordoption.h"
#include "crypto/ciphererror.h"
#include "crypto/aes/rijndael.h"
#include "text/wholenumber.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

const char kAesSynopsis[] =
    "  aes encrypt --password P|--password-stdin [--block-bits N] [--key-bits N] TEXT\n"
    "  aes decrypt --password P|--password-stdin [--block-bits N] [--key-bits N] HEXTEXT\n"
    "  aes encrypt-file --password P|--password-stdin [--key-bits N] PLAIN CIPHER\n"
    "  aes decrypt-file --password P|--password-stdin [--key-bits N] PLAIN CIPHER\n"
    "      AES with the password's key; messages on stderr";

namespace {

constexpr OptionSpec kOptions[] = {
    kPasswordSpec,
    kPasswordStdinSpec,
    {"block-bits", "N", "block size in bits, 256 unless given (text forms only)"},
    {"key-bits", "N", "key size in bits, 256 unless given"},
};

} // namespace

const std::span<const OptionSpec> kAesOptions = kOptions;

namespace {

enum class Action { Encrypt, Decrypt, EncryptFile, DecryptFile };

// One row of the action table: the word that names the action and what it takes.
struct ActionRow
{
    QLatin1StringView name;
    Action action;
    bool takesBlockBits;
    int operands;
};

constexpr ActionRow ActionTable[] = {
    {"encrypt"_L1, Action::Encrypt, true, 1},
    {"decrypt"_L1, Action::Decrypt, true, 1},
    {"encrypt-file"_L1, Action::EncryptFile, false, 2},
    {"decrypt-file"_L1, Action::DecryptFile, false, 2},
};

struct Request
{
    Action action = Action::Encrypt;
    QString password;
    int blockBits = 256;
    int keyBits = 256;
    QStringList operands;
};

// Reads a bit count option into bits when it is given; false with error set when it is no number.
bool readBits(const CommandArguments &arguments, const char *name, int &bits, QString &error)
{
    const QString value = arguments.options.value(QLatin1String(name));
    if (value.isNull())
        return true;
    const std::optional<qint64> number = Text::wholeNumber(value, 9, 0, 999'999'999);
    if (!number)
        error = u"not a number of bits: "_s + value;
    else
        bits = static_cast<int>(*number);
    return number.has_value();
}

// The request, or nullopt with error set for bad usage.
std::optional<Request> parse(const Context &context, QString &error)
{
    const QStringList &words = context.arguments;
    const ActionRow *row = nullptr;
    for (const ActionRow &candidate : ActionTable)
        if (!words.isEmpty() && words.front() == candidate.name)
            row = &candidate;
    if (!row) {
        error = u"aes: expected encrypt, decrypt, encrypt-file or decrypt-file"_s;
        return std::nullopt;
    }
    const QStringList rest = words.mid(1);
    const CommandArguments arguments = parseCommandArguments(rest, kAesOptions);
    const QString prefix = u"aes "_s + row->name + u": "_s;
    Request request;
    request.action = row->action;
    request.operands = arguments.positional;
    std::optional<QString> password;
    if (!arguments.error.isEmpty())
        error = arguments.error;
    else if (!row->takesBlockBits && arguments.options.contains(u"block-bits"_s))
        error = u"--block-bits is for the text forms only"_s;
    else if (request.operands.size() != row->operands)
        error = u"expected "_s + QString::number(row->operands) + u" operand(s)"_s;
    else if (readBits(arguments, "key-bits", request.keyBits, error) && readBits(arguments, "block-bits", request.blockBits, error))
        password = readPassword(context, arguments, error); // last: it may wait for a line
    if (error.isEmpty() && !password)
        error = u"--password or --password-stdin is required"_s;
    if (!error.isEmpty()) {
        error.prepend(prefix);
        return std::nullopt;
    }
    request.password = *password;
    return request;
}

QString withoutTrailingZeros(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QChar(0))
        --end;
    text.truncate(end);
    return text;
}

// The text result to print, if the action has one.
std::optional<QString> execute(const Request &request)
{
    Crypto::cRijndael aes;
    const QString &password = request.password;
    switch (request.action) {
    case Action::Encrypt:
        return aes.StringEncrypt(request.operands[0], password, request.blockBits, request.keyBits);
    case Action::Decrypt:
        return withoutTrailingZeros(aes.StringDecrypt(request.operands[0], password, request.blockBits, request.keyBits));
    case Action::EncryptFile:
        aes.FileEncryptSimple(request.operands[0], request.operands[1], password, request.blockBits, request.keyBits);
        break;
    case Action::DecryptFile:
        aes.FileDecryptSimple(request.operands[0], request.operands[1], password, request.blockBits, request.keyBits);
        break;
    }
    return std::nullopt;
}

} // namespace

int runAes(const Context &context)
{
    QString error;
    const std::optional<Request> request = parse(context, error);
    if (!request)
        return usageError(context, error);
    const MessageCapture messages(context.err);
    try {
        const std::optional<QString> result = execute(*request);
        if (result && !messages.shown())
            context.out << *result << '\n';
    } catch (const Crypto::CipherError &cipherError) {
        context.err << cipherError.description() << '\n';
        return Failure;
    }
    return messages.shown() ? Failure : Success;
}

} // namespace Cli
