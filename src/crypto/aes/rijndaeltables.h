#pragma once

#include <array>
#include <cstdint>

// The constant tables of AES, shared read-only by every cipher object of the process.
namespace Crypto::Rijndael {

using WordTable = std::array<std::uint32_t, 256>;

struct Tables
{
    WordTable sbox;                       // S-box byte repeated in all four bytes of the word
    WordTable inverseSbox;                // same form
    std::array<WordTable, 4> encryption;  // round tables: MixColumns of the S-box column, rotated
    std::array<WordTable, 4> decryption;  // round tables: InvMixColumns of the inverse S-box column
    std::array<std::uint32_t, 10> roundConstants; // in the low byte
};

// Built at compile time from the power and logarithm tables of GF(2^8) with generator 3.
extern const Tables tables;

} // namespace Crypto::Rijndael
