#pragma once

#include "cli/context.h"
#include "crypto/io/fileoutcome.h"

namespace Cli {

// The exit code of a quiet cipher class's file form: Success when the output was written, else
// Failure after one line on err naming the file and the reason, unless a cipher message (already
// printed, messageShown) said why.
int fileFormExit(const Context &context, const char *command, const QString &input, const QString &output,
                 const Crypto::FileOutcome &outcome, bool messageShown = false);

} // namespace Cli
