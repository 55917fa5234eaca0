#pragma once

#include "cli/context.h"
#include "library/store.h"

#include <memory>

namespace Cli {

// The library of the endpoints for a command that records into it: what opening it had to say
// goes to err as one line after "command: library: "; a library that cannot be opened is none,
// and the command goes on without it.
std::unique_ptr<Library::Store> openLibraryFor(const Context &context, const char *command);

// The library for a command that cannot go without it (library, watch). Without a store, exit
// says why: BadUsage for --no-library, Unreachable when it cannot be opened, or is open
// read-only and the action writes; each said on err after "command: " ("command action: ").
struct RequiredLibrary
{
    std::unique_ptr<Library::Store> store;
    int exit = Success;
};
RequiredLibrary requireLibrary(const Context &context, const QString &command, const QString &action, bool writes);

} // namespace Cli
