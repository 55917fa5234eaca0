#pragma once

#include "cli/exitcodes.h"
#include "config/endpoints.h"

#include <QStringList>
#include <QTextStream>

namespace Cli {

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
