#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"

#include <span>

namespace Cli {

// "aes": the AES class's text and Simple file forms on the command line.
int runAes(const Context &context);

extern const char kAesSynopsis[];
extern const std::span<const OptionSpec> kAesOptions;

} // namespace Cli
