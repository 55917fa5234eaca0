#include "cli/configcommand.h"

#include "cli/commandarguments.h"
#include "config/settingkeys.h"
#include "config/settingsfile.h"
#include "text/printable.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

void show(const Context &context)
{
    const auto settings = Config::settings();
    for (std::size_t i = 0; i < settings.size(); ++i) {
        context.out << settings[i].key << '\t' << Config::settingText(settings[i], context.endpoints) << '\t'
                    << context.provenance.origins.at(i).describe() << '\n';
    }
}

// set (with a value) or unset (without) one key of the file.
int change(const Context &context, const Config::Setting &setting, const std::optional<QString> &text)
{
    std::optional<QString> value;
    if (text) {
        const Config::Checked checked = setting.check(*text);
        if (!checked.refusal.isEmpty())
            return usageError(context,
                              u"config: "_s + QLatin1StringView(setting.key) + u": "_s + checked.refusal + u": "_s
                                  + Config::shownSettingText(*text));
        value = checked.value;
    }
    const QString failure = Config::writeSettings(context.provenance.file, {{QLatin1StringView(setting.key), value}});
    if (!failure.isEmpty()) {
        context.err << "config: " << failure << '\n';
        return Failure;
    }
    return Success;
}

} // namespace

int runConfig(const Context &context)
{
    const CommandArguments arguments = parseCommandArguments(context.arguments, {});
    if (!arguments.error.isEmpty())
        return usageError(context, u"config: "_s + arguments.error);
    const QStringList &words = arguments.positional;
    const QString action = words.value(0);
    const qsizetype keyed = action == u"set" ? 3 : 2; // words of the actions that name a key
    if (words.size() == 1 && action == u"path") {
        context.out << context.provenance.file << '\n';
        return Success;
    }
    if (words.size() == 1 && action == u"show") {
        show(context);
        return Success;
    }
    if ((action != u"get" && action != u"set" && action != u"unset") || words.size() != keyed)
        return usageError(context, {});

    const Config::Setting *setting = Config::findSetting(words.at(1));
    if (!setting)
        return usageError(context, u"config: unknown key "_s + Text::printable(words.at(1)));
    if (action == u"get") {
        context.out << Config::settingText(*setting, context.endpoints) << '\n';
        return Success;
    }
    return change(context, *setting, action == u"set" ? std::optional(words.at(2)) : std::nullopt);
}

} // namespace Cli
