#pragma once

#include "crypto/io/filestreams.h"
#include "crypto/rndxor/unitsreader.h"

// Producers for UnitsReader: the inputs of the random-XOR file forms, read in 1 MiB chunks.
// ASCII, the common case, is taken as it comes: GBK's bytes 0x00..0x7F are ASCII and leave its
// decoder in its first state.
namespace Crypto {

// The capacity to give a UnitsReader for these inputs.
qsizetype plainTextCapacity(const FileStreams &files);
qsizetype carrierCapacity(const FileStreams &files);

// The plain file's GBK text. survivesGbk becomes false when the bytes do not come back
// unchanged from GBK to text to GBK.
bool readPlainText(FileStreams &files, UnitsReader &reader, bool &survivesGbk);

// The code units of the cipher file's carrier form: MTransform::HEX_to_STR2 of its GBK text.
bool readCarrierUnits(FileStreams &files, UnitsReader &reader);

} // namespace Crypto
