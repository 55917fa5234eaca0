#include "cli/aescommand.h"

#include "crypto/ciphererror.h"
#include "crypto/messagesink.h"
#include "crypto/rijndael.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

const char AesUsage[] =
    "  aes encrypt --password P [--block-bits N] [--key-bits N] TEXT\n"
    "  aes decrypt --password P [--block-bits N] [--key-bits N] HEXTEXT\n"
    "  aes encrypt-file --password P [--key-bits N] PLAIN CIPHER\n"
    "  aes decrypt-file --password P [--key-bits N] PLAIN CIPHER\n"
    "      AES with the password's key (block and key bits 256 unless given); messages on stderr";

namespace {

enum class Action { Encrypt, Decrypt, EncryptFile, DecryptFile };

struct ActionSpec
{
    QLatin1StringView name;
    Action action;
    bool takesBlockBits;
    int operands;
};

constexpr ActionSpec Actions[] = {
    {"encrypt"_L1, Action::Encrypt, true, 1},
    {"decrypt"_L1, Action::Decrypt, true, 1},
    {"encrypt-file"_L1, Action::EncryptFile, false, 2},
    {"decrypt-file"_L1, Action::DecryptFile, false, 2},
};

struct Request
{
    Action action = Action::Encrypt;
    std::optional<QString> password;
    int blockBits = 256;
    int keyBits = 256;
    QStringList operands;
};

// Reads "--name value" or "--name=value" at arguments[i]; advances i past what it used.
std::optional<QString> optionValue(const QStringList &arguments, qsizetype &i, QString &error)
{
    const QString &argument = arguments[i];
    const qsizetype equals = argument.indexOf(u'=');
    if (equals >= 0)
        return argument.mid(equals + 1);
    if (i + 1 >= arguments.size()) {
        error = argument + u" needs a value"_s;
        return std::nullopt;
    }
    return arguments[++i];
}

bool readBits(const QString &value, int &bits, QString &error)
{
    bool ok = false;
    bits = value.toInt(&ok);
    if (!ok)
        error = u"not a number of bits: "_s + value;
    return ok;
}

// The request, or nullopt with error set for bad usage.
std::optional<Request> parse(const QStringList &arguments, QString &error)
{
    const ActionSpec *spec = nullptr;
    for (const ActionSpec &candidate : Actions)
        if (!arguments.isEmpty() && arguments.front() == candidate.name)
            spec = &candidate;
    if (!spec) {
        error = u"aes: expected encrypt, decrypt, encrypt-file or decrypt-file"_s;
        return std::nullopt;
    }
    Request request;
    request.action = spec->action;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size() && error.isEmpty(); ++i) {
        const QString &argument = arguments[i];
        const QStringView name = QStringView(argument).left(argument.indexOf(u'='));
        if (optionsEnded || !argument.startsWith(u"--"_s)) {
            request.operands.append(argument);
        } else if (argument == u"--"_s) {
            optionsEnded = true;
        } else if (name == u"--password"_s) {
            request.password = optionValue(arguments, i, error);
        } else if (name == u"--key-bits"_s) {
            if (const auto value = optionValue(arguments, i, error))
                readBits(*value, request.keyBits, error);
        } else if (name == u"--block-bits"_s && spec->takesBlockBits) {
            if (const auto value = optionValue(arguments, i, error))
                readBits(*value, request.blockBits, error);
        } else {
            error = u"aes "_s + spec->name + u": unknown option "_s + argument;
        }
    }
    if (error.isEmpty() && !request.password)
        error = u"aes "_s + spec->name + u": --password is required"_s;
    if (error.isEmpty() && request.operands.size() != spec->operands)
        error = u"aes "_s + spec->name + u": expected "_s + QString::number(spec->operands) + u" operand(s)"_s;
    return error.isEmpty() ? std::optional(request) : std::nullopt;
}

QString withoutTrailingZeros(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QChar(0))
        --end;
    text.truncate(end);
    return text;
}

// Prints the cipher class's messages on stderr while it lives and remembers whether one came.
class StderrMessages
{
public:
    explicit StderrMessages(QTextStream &err)
        : m_previous(Crypto::setMessageSink([this, &err](const QString &text, Crypto::MessageIcon) {
              err << QString(text).replace(u"\r\n"_s, u"\n"_s) << '\n';
              err.flush();
              m_shown = true;
          }))
    {
    }
    ~StderrMessages() { Crypto::setMessageSink(std::move(m_previous)); }
    StderrMessages(const StderrMessages &) = delete;
    StderrMessages &operator=(const StderrMessages &) = delete;

    bool shown() const { return m_shown; }

private:
    bool m_shown = false;
    Crypto::MessageSink m_previous;
};

// The text result to print, if the action has one.
std::optional<QString> execute(const Request &request)
{
    Crypto::cRijndael aes;
    const QString &password = *request.password;
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

int aesCommand(const Context &context)
{
    QString error;
    const std::optional<Request> request = parse(context.arguments, error);
    if (!request) {
        context.err << error << '\n' << AesUsage << '\n';
        return BadUsage;
    }
    StderrMessages messages(context.err);
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
