#pragma once

#include "crypto/aes/rijndaelkernel.h"

// AES through the processor's AES instructions. The round keys are the portable key schedule's:
// its little-endian words are the instructions' byte order, and its decryption keys are already
// those of the equivalent inverse cipher that the decryption instructions expect.
namespace Crypto::Rijndael {

// True when this build has the instruction path and the processor running it has AES-NI.
bool aesNiAvailable();

// Same contract as the portable block functions; only call when aesNiAvailable().
void encryptBlocksAesNi(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out,
                        std::size_t count);
void decryptBlocksAesNi(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out,
                        std::size_t count);

} // namespace Crypto::Rijndael
