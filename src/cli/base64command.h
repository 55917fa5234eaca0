#pragma once

#include "cli/context.h"

namespace Cli {

inline constexpr char kBase64Synopsis[] =
    "  base64 encode TEXT                 Base64 of TEXT's GBK bytes\n"
    "  base64 decode TEXT                 the text that the Base64 TEXT encodes\n"
    "  base64 encode-file PLAIN B64       writes the Base64 of file PLAIN into file B64\n"
    "  base64 decode-file PLAIN B64       writes the decoded file B64 into file PLAIN";

// Prints the text result or writes the file; 1 when the input file cannot be read, is a Base64
// file cut off two or three characters into a group (the output is then left alone), or the
// output file was not written (the file and the reason on stderr), 2 for bad usage.
int runBase64(const Context &context);

} // namespace Cli
