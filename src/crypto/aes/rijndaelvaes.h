#pragma once

#include "crypto/aes/rijndaelkernel.h"

// AES through the vector AES instructions (VAES): two blocks per 256-bit register, four per
// 512-bit one, eight registers in flight. Same round keys as the AES-NI kernel, which does the
// last blocks of a run that fill no whole step.
namespace Crypto::Rijndael {

// True when this build has the path and the processor running it has VAES with AVX2 / AVX-512F
// (and the system saves their registers).
bool vaes256Available();
bool vaes512Available();

// Same contract as the portable block functions; only call when the matching check is true.
void encryptBlocksVaes256(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count);
void decryptBlocksVaes256(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count);
void encryptBlocksVaes512(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count);
void decryptBlocksVaes512(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count);

} // namespace Crypto::Rijndael
