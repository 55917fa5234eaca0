#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"

#include <optional>

namespace Cli {

// The two ways to give a password on the command line: a value option, which shows in the
// process list and the shell's history, and a flag that reads it from standard input instead.
inline constexpr char kPasswordOption[] = "password";
inline constexpr char kPasswordStdinFlag[] = "password-stdin";
inline constexpr OptionSpec kPasswordSpec{kPasswordOption, "P", "the password (it shows in the process list)"};
inline constexpr OptionSpec kPasswordStdinSpec{kPasswordStdinFlag, nullptr,
                                               "read the password from the first line of standard input; with\n"
                                               "neither, a terminal is asked for it without echo"};

// The longest password taken from standard input, in characters.
inline constexpr qint64 kLongestPassword = 4096;

// The password of a command: "--password P"; with "--password-stdin" the first line of
// standard input, its line end (LF or CR LF) dropped; with neither and a terminal on standard
// input, a line typed at a prompt without echo. nullopt when none was given, or with error set
// for a usage error (both options, nothing on standard input, a line too long). No error text
// holds the password.
std::optional<QString> readPassword(const Context &context, const CommandArguments &arguments, QString &error);

} // namespace Cli
