#pragma once

#include "cli/context.h"

#include <QString>

#include <span>

namespace Cli {

struct Command
{
    const char *name;
    int (*run)(const Context &context);
    const char *usage; // one or more lines, shown by "help" and on bad usage
};

// Every command of the tool, in the order "help" lists them.
std::span<const Command> commands();

} // namespace Cli
