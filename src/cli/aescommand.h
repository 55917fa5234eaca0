#pragma once

#include "cli/context.h"

namespace Cli {

// "aes": the AES class's text and Simple file forms on the command line.
int aesCommand(const Context &context);

extern const char AesUsage[];

} // namespace Cli
