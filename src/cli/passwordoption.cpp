#include "cli/passwordoption.h"

#include "cli/terminal.h"

using namespace Qt::StringLiterals;

namespace Cli {

std::optional<QString> readPassword(const Context &context, const CommandArguments &arguments, QString &error)
{
    const QString option = QLatin1String(kPasswordOption);
    const bool fromStdin = arguments.flags.contains(QLatin1String(kPasswordStdinFlag));
    if (fromStdin && arguments.options.contains(option)) {
        error = u"--password and --password-stdin exclude each other"_s;
        return std::nullopt;
    }
    if (arguments.options.contains(option))
        return arguments.options.value(option);
    if (!fromStdin && !isTerminal(context.in))
        return std::nullopt;

    // Room for the line end, and one character more than allowed tells a line that is too long.
    const qint64 room = kLongestPassword + 2;
    const QString line = fromStdin ? context.in.readLine(room) : readUnechoedLine(context.in, context.err, u"password: "_s, room);
    if (line.isNull() && fromStdin)
        error = u"--password-stdin: nothing on standard input"_s;
    else if (line.size() > kLongestPassword)
        error = u"password: more than %1 characters"_s.arg(kLongestPassword);
    return error.isEmpty() ? std::optional(line) : std::nullopt;
}

} // namespace Cli
