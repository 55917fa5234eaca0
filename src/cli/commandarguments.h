#pragma once

#include <QMultiHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <initializer_list>

namespace Cli {

struct CommandArguments
{
    QMultiHash<QString, QString> options; // by name without the dashes; a repeated option keeps every value
    QSet<QString> flags;                  // the flags given, by name without the dashes
    QStringList positional;
    QString error; // set for an unknown option or one without its value
};

// Splits a command's arguments into the named value options ("--name value" or
// "--name=value"), flags ("--name", no value) and positional arguments; after "--" every
// argument is positional.
CommandArguments parseCommandArguments(const QStringList &arguments, std::initializer_list<const char *> optionNames,
                                       std::initializer_list<const char *> flagNames = {});

} // namespace Cli
