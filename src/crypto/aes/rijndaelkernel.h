#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// AES on plain bytes: the key schedule and the portable table-driven block rounds.
// A block is four little-endian 32-bit words, the four state columns.
namespace Crypto::Rijndael {

constexpr int BlockBytes = 16;
constexpr int MaxScheduleWords = 60; // 4 x (14 rounds + 1)

struct KeySchedule
{
    int rounds = 0; // 0 until a key is expanded
    alignas(16) std::array<std::uint32_t, MaxScheduleWords> encryption{};
    alignas(16) std::array<std::uint32_t, MaxScheduleWords> decryption{};
};

// Rounds for a key size in bits, or 0 when the size is not 128, 192 or 256.
int roundsForKeyBits(int keyBits);

// Fills the encryption round keys from keyBits / 8 bytes of key and sets the round count;
// keyBits must be one that roundsForKeyBits() accepts.
void expandKey(KeySchedule &schedule, const std::uint8_t *key, int keyBits);

// Fills the decryption round keys of the equivalent inverse cipher from the encryption ones.
void makeDecryptKeys(KeySchedule &schedule);

// Enciphers / deciphers count blocks; in and out are the same buffer or do not overlap.
using BlockFunction = void (*)(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out,
                               std::size_t count);
void encryptBlocksPortable(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out,
                           std::size_t count);
void decryptBlocksPortable(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out,
                           std::size_t count);

} // namespace Crypto::Rijndael
