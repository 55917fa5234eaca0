#pragma once

#include <cstddef>

// The AVX-512 Base64 kernel (VBMI byte permutes), after Muła and Lemire, "Base64 encoding and
// decoding at almost the speed of a memory copy" (Software: Practice and Experience, 2020):
// 48 bytes to 64 characters and back per step. Same contracts as the scalar kernel, which does
// the tails and every 64 characters that hold one outside the alphabet.
namespace Crypto::Base64Kernel {

// True when this build has the path and the processor has AVX-512 VBMI and BW.
bool avx512Available();

// Only call when avx512Available().
void encodeAvx512(const unsigned char *in, std::size_t byteCount, char *out) noexcept;
void decodeGroupsAvx512(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept;

} // namespace Crypto::Base64Kernel
