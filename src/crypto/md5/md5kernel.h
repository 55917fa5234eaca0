#pragma once

#include <cstddef>
#include <cstdint>

// The MD5 block transform of RFC 1321 on plain bytes, the hot loop under CMD5Encrypt.
namespace Crypto::Md5Kernel {

inline constexpr std::size_t kBlockSize = 64;

// The chaining values A, B, C, D that every message starts from.
inline constexpr std::uint32_t kInitialState[4] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u};

// Runs the 64-step transform over blockCount consecutive 64-byte blocks, adding each result
// into state (A, B, C, D) modulo 2^32. Never fails.
void compress(std::uint32_t state[4], const unsigned char *blocks, std::size_t blockCount) noexcept;

} // namespace Crypto::Md5Kernel
