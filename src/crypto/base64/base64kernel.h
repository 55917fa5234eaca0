#pragma once

#include <cstddef>

// Base64 of RFC 4648 (standard alphabet, "=" padding, no line breaks) on plain bytes, the hot
// loops under CBase64EnDeCode: a scalar kernel, and AVX2 and AVX-512 ones chosen at run time on
// processors that have them (the scalar one does their tails).
namespace Crypto::Base64Kernel {

enum class Engine { Scalar, Avx2, Avx512 };

// The widest kernel this build has and the processor runs.
Engine bestEngine();
// The engine encode() and decodeGroups() use: bestEngine() unless tests choose another. An
// engine the processor lacks runs Scalar; engine() tells which one runs.
void setEngine(Engine engine);
Engine engine();

// Number of characters that encode() writes for byteCount bytes: 4 × ceil(byteCount / 3).
constexpr std::size_t encodedSize(std::size_t byteCount) noexcept
{
    return (byteCount + 2) / 3 * 4;
}

// Writes the Base64 text of in[0..byteCount) to out, which holds encodedSize(byteCount) chars.
void encode(const unsigned char *in, std::size_t byteCount, char *out) noexcept;

// Decodes groupCount groups of four characters to 3 × groupCount bytes at out. A character
// outside the alphabet ("=", spaces, line ends, bytes of non-ASCII text) counts as the value 0
// and keeps its place in the group. Never fails.
void decodeGroups(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept;

// The scalar kernel itself, whatever engine is chosen.
void encodeScalar(const unsigned char *in, std::size_t byteCount, char *out) noexcept;
void decodeGroupsScalar(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept;

} // namespace Crypto::Base64Kernel
