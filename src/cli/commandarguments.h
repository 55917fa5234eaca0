#pragma once

#include <QMultiHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <span>

namespace Cli {

// One option of a command: its name without the dashes, the placeholder of its value (nullptr
// for a flag, which takes none) and its line of help. A command lists its options once; the
// parser and the usage text both read that list, so they cannot drift apart.
struct OptionSpec
{
    const char *name;
    const char *value;
    const char *help;
};

struct CommandArguments
{
    QMultiHash<QString, QString> options; // by name without the dashes; a repeated option keeps every value
    QSet<QString> flags;                  // the flags given, by name without the dashes
    QStringList positional;
    QString error; // set for an unknown option or one without its value
};

// Splits a command's arguments into the value options of specs ("--name value" or
// "--name=value"), its flags ("--name") and positional arguments; after "--" every argument is
// positional. An unknown option is named without its value: that may be a password.
CommandArguments parseCommandArguments(const QStringList &arguments, std::span<const OptionSpec> specs);

// The help lines of specs, one an option: "      --name VALUE  help" (a "\n" in help goes on
// in the help's column).
QString optionsHelp(std::span<const OptionSpec> specs);

} // namespace Cli
