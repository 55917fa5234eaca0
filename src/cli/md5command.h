#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"

namespace Cli {

inline constexpr char kMd5Synopsis[] =
    "  md5 TEXT                 MD5 of TEXT's GBK bytes, as 32 upper-case hexadecimal digits\n"
    "  md5 --file FILE          MD5 of FILE's content";

inline constexpr OptionSpec kMd5Options[] = {{"file", "FILE", "digest the file's bytes instead of a text"}};

// Prints the digest; 1 when the file cannot be read, 2 for bad usage.
int runMd5(const Context &context);

} // namespace Cli
