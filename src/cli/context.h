#pragma once

#include "config/endpoints.h"

#include <QStringList>
#include <QTextStream>

namespace Cli {

// Exit codes shared by every command.
enum ExitCode : int { Success = 0, Failure = 1, BadUsage = 2 };

// What a command gets: its own arguments (after the command name), the endpoints, standard
// input and the two output streams (UTF-8).
struct Context
{
    QStringList arguments;
    Config::Endpoints endpoints;
    QTextStream &in;
    QTextStream &out;
    QTextStream &err;
};

} // namespace Cli
