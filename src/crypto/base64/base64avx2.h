#pragma once

#include <cstddef>

// The AVX2 Base64 kernel, after Muła and Lemire, "Faster Base64 Encoding and Decoding Using AVX2
// Instructions" (ACM TWEB, 2018): 24 bytes to 32 characters and back per step. Same contracts
// as the scalar kernel, which does the tails and every 32 characters that hold one outside the
// alphabet (the vector path only tells that there is one, the scalar rule reads it as 0).
namespace Crypto::Base64Kernel {

// True when this build has the AVX2 path and the processor running it has AVX2.
bool avx2Available();

// Only call when avx2Available().
void encodeAvx2(const unsigned char *in, std::size_t byteCount, char *out) noexcept;
void decodeGroupsAvx2(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept;

} // namespace Crypto::Base64Kernel
