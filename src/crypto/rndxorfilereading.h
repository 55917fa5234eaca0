#pragma once

#include "crypto/filestreams.h"

#include <QString>

#include <optional>
#include <vector>

// The inputs of the random-XOR file forms, read in chunks. ASCII, the common case, is taken as
// it comes: GBK's bytes 0x00..0x7F are ASCII and leave its decoder in its first state. From the
// first chunk with another byte on, the rest goes through the GBK decoder at the end, as the
// text forms would read the whole file.
namespace Crypto {

struct PlainText
{
    QString text;
    // Whether the bytes come back unchanged from GBK to text to GBK.
    bool survivesGbk = true;
};

// The plain file's GBK text; nullopt when it cannot be read.
std::optional<PlainText> readPlainText(FileStreams &files);

// The code units of the cipher file's carrier form (MTransform::HEX_to_STR2 of its GBK text);
// nullopt when it cannot be read.
std::optional<std::vector<char16_t>> readCarrierUnits(FileStreams &files);

} // namespace Crypto
