#pragma once

#include "cli/context.h"
#include "cli/passwordoption.h"

namespace Cli {

inline constexpr char kRndXorSynopsis[] =
    "  rndxor encrypt --password P|--password-stdin [--key-size K] TEXT        random-XOR ciphertext of TEXT\n"
    "  rndxor decrypt --password P|--password-stdin [--key-size K] CIPHERTEXT  the plaintext of CIPHERTEXT\n"
    "  rndxor encrypt-file --password P|--password-stdin [--key-size K] PLAIN CIPHER\n"
    "  rndxor decrypt-file --password P|--password-stdin [--key-size K] PLAIN CIPHER";

inline constexpr OptionSpec kRndXorOptions[] = {
    kPasswordSpec,
    kPasswordStdinSpec,
    {"key-size", "K", "the cipher's key size, -32768..32767"},
};

// Prints the text result or writes the file; 1 when the password or integrity check failed, the
// input is no text file, or a file cannot be read or written (the file and the reason on
// stderr), 2 for bad usage.
int runRndXor(const Context &context);

} // namespace Cli
