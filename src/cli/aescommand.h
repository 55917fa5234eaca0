#pragma once

#include "cli/context.h"

namespace Cli {

// "aes": the AES class's text and Simple file forms on the command line.
int runAes(const Context &context);

extern const char kAesUsage[];

} // namespace Cli
