#pragma once

#include "cli/context.h"

namespace Cli {

// "config path | show | get KEY | set KEY VALUE | unset KEY": the settings file. show prints
// every setting's effective value and where it came from, tab-separated; set checks the value
// as the option does and writes the file atomically. Exit codes: Success; Failure when the file
// cannot be written; BadUsage for a bad command line, an unknown key or a refused value (the
// file untouched).
int runConfig(const Context &context);

inline constexpr char kConfigSynopsis[] =
    "  config path | show | get KEY | set KEY VALUE | unset KEY\n"
    "      the settings file vorlen360.ini (another one: --config FILE): its path; every setting\n"
    "      (KEY as the option's name) with its value and where that came from (option,\n"
    "      environment, file, default), tab-separated; one value; write or remove one key;\n"
    "      exit 0 done, 1 file not written, 2 bad usage or refused value";

} // namespace Cli
