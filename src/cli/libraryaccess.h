#pragma once

#include "cli/context.h"
#include "library/store.h"

#include <memory>

namespace Cli {

// The library of the endpoints for a command that records into it: what opening it had to say
// goes to err as one line after "command: library: "; a library that cannot be opened is none,
// and the command goes on without it.
std::unique_ptr<Library::Store> openLibraryFor(const Context &context, const char *command);

} // namespace Cli
