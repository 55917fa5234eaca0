#pragma once

#include "cli/exitcodes.h"
#include "config/endpoints.h"

#include <QStringList>
#include <QTextStream>

namespace Cli {

// What a command gets: its own arguments (after the command name), the endpoints, standard
// input, the two output streams (UTF-8), and the settings file with where each setting came from.
struct Context
{
    QStringList arguments;
    Config::Endpoints endpoints;
    QTextStream &in;
    QTextStream &out;
    QTextStream &err;
    QString usage; // the command's own usage text
    Config::Provenance provenance;
    QStringList endpointArguments; // the endpoint options of the command line, to repeat them
};

// Says what is wrong with the command line (when message is not empty), then how the command is
// used; returns BadUsage.
inline int usageError(const Context &context, const QString &message)
{
    if (!message.isEmpty())
        context.err << message << '\n';
    context.err << "usage:\n" << context.usage;
    return BadUsage;
}

} // namespace Cli
