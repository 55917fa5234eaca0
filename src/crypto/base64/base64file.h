#pragma once

#include "crypto/io/fileoutcome.h"

#include <QString>

// The Base64 file forms, streamed: the input is read, converted and written in chunks of
// chunkBytes (whole groups: three bytes for encoding, four characters for decoding, the rest
// carried into the next chunk), so memory stays bounded whatever the file size. The output
// replaces its file only when complete.
namespace Crypto::Base64File {

// 384 KiB, a multiple of 3 and of 4. Writes of 1 MiB and more were found three to six times
// slower than writes of half that on ext4 here.
constexpr qint64 DefaultChunkBytes = 3 << 17;

// Writes the Base64 of the plain file's bytes into the Base64 file. chunkBytes must be a
// positive multiple of 12.
FileOutcome encode(const QString &plainFile, const QString &base64File, qint64 chunkBytes = DefaultChunkBytes);

// Writes the decoded bytes of the Base64 file into the plain file, without the bytes the "="
// padding stands for; a last lone character is ignored, a last group of two or three characters
// gives an empty file, any byte outside the alphabet counts as 0 in its place.
FileOutcome decode(const QString &plainFile, const QString &base64File, qint64 chunkBytes = DefaultChunkBytes);

} // namespace Crypto::Base64File
