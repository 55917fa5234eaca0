#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <initializer_list>

namespace Cli {

struct CommandArguments
{
    QHash<QString, QString> options; // by name without the dashes
    QStringList positional;
    QString error; // set for an unknown option or one without its value
};

// Splits a command's arguments into the named value options ("--name value" or
// "--name=value") and positional arguments; after "--" every argument is positional.
CommandArguments parseCommandArguments(const QStringList &arguments, std::initializer_list<const char *> optionNames);

} // namespace Cli
