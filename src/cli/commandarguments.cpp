#include "cli/commandarguments.h"

#include <algorithm>

namespace Cli {

CommandArguments parseCommandArguments(const QStringList &arguments, std::initializer_list<const char *> optionNames,
                                       std::initializer_list<const char *> flagNames)
{
    CommandArguments result;
    const auto among = [](std::initializer_list<const char *> names, QStringView name) {
        return std::any_of(names.begin(), names.end(), [name](const char *option) { return name == QLatin1String(option); });
    };
    const auto known = [&](QStringView name) { return among(optionNames, name); };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--") {
            result.positional += arguments.mid(i + 1);
            break;
        }
        if (!argument.startsWith(u"--")) {
            result.positional.append(argument);
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        if (equals < 0 && among(flagNames, name)) {
            result.flags.insert(name);
            continue;
        }
        if (!known(name)) {
            // The name alone: the value of a misspelt "--password=..." must not be shown.
            result.error = QStringLiteral("unknown option --") + name;
            return result;
        }
        if (equals >= 0) {
            result.options.insert(name, argument.mid(equals + 1));
        } else if (i + 1 < arguments.size()) {
            result.options.insert(name, arguments.at(++i));
        } else {
            result.error = QStringLiteral("missing value for ") + argument;
            return result;
        }
    }
    return result;
}

} // namespace Cli
