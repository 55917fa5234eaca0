#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"

#include <QString>

#include <span>

namespace Cli {

struct Command
{
    const char *name;
    int (*run)(const Context &context);
    const char *synopsis;                // its lines of usage, before the options' help
    std::span<const OptionSpec> options; // every option run takes, parsed from this list
};

// The usage of command, shown by "help" and after a usage error: the synopsis and a line for
// each option.
QString usageOf(const Command &command);

// Every command of the tool, in the order "help" lists them.
std::span<const Command> commands();

} // namespace Cli
