#include "cli/commandarguments.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

const OptionSpec *find(std::span<const OptionSpec> specs, QStringView name)
{
    const auto it = std::find_if(specs.begin(), specs.end(),
                                 [name](const OptionSpec &spec) { return name == QLatin1StringView(spec.name); });
    return it == specs.end() ? nullptr : &*it;
}

QString synopsisOf(const OptionSpec &spec)
{
    QString text = u"--"_s + QLatin1StringView(spec.name);
    if (spec.value)
        text += u' ' + QLatin1StringView(spec.value);
    return text;
}

} // namespace

CommandArguments parseCommandArguments(const QStringList &arguments, std::span<const OptionSpec> specs)
{
    CommandArguments result;
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
        const OptionSpec *spec = find(specs, name);
        if (!spec || (!spec->value && equals >= 0)) {
            // The name alone: the value of a misspelt "--password=..." must not be shown.
            result.error = u"unknown option --"_s + name;
            return result;
        }
        if (!spec->value)
            result.flags.insert(name);
        else if (equals >= 0)
            result.options.insert(name, argument.mid(equals + 1));
        else if (i + 1 < arguments.size())
            result.options.insert(name, arguments.at(++i));
        else {
            result.error = u"missing value for --"_s + name;
            return result;
        }
    }
    return result;
}

QString optionsHelp(std::span<const OptionSpec> specs)
{
    qsizetype width = 0;
    for (const OptionSpec &spec : specs)
        width = std::max(width, synopsisOf(spec).size());
    const QString indent(8 + width, u' ');
    QString help;
    for (const OptionSpec &spec : specs) {
        QString text = QLatin1StringView(spec.help);
        text.replace(u'\n', u'\n' + indent); // a help of several lines stays in its column
        help += u"      "_s + synopsisOf(spec).leftJustified(width + 2) + text + u'\n';
    }
    return help;
}

} // namespace Cli
