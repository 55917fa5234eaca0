#pragma once

// The VAES loop shared by the 256-bit and the 512-bit kernel; only rijndaelvaes256.cpp and
// rijndaelvaes512.cpp include it, each with its own instruction flags and register operations:
//   Vector, Blocks (per register), key(words) (one round key in every block of a register),
//   load, store, xor_, encrypt, encryptLast, decrypt, decryptLast.

#include "crypto/aes/rijndaelaesni.h"

#include <cpuid.h>

namespace Crypto::Rijndael::VaesSteps {

// CPUID leaf 7, ECX bit 9 (not every compiler's __builtin_cpu_supports knows "vaes"). Whether the
// system saves the vector registers is the AVX2 / AVX-512F check's part.
inline bool processorHasVaes()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (c >> 9 & 1) != 0;
}

// Eight registers in flight hide the latency of the round instruction.
constexpr std::size_t Registers = 8;

template <typename Ops, bool Decrypt>
void blocks(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    using Vector = typename Ops::Vector;
    constexpr std::size_t StepBlocks = Registers * Ops::Blocks;
    constexpr std::size_t RegisterBytes = Ops::Blocks * BlockBytes;
    const int rounds = schedule.rounds;
    const std::uint32_t *words = Decrypt ? schedule.decryption.data() : schedule.encryption.data();
    Vector keys[15];
    for (int r = 0; r <= rounds; ++r)
        keys[r] = Ops::key(words + 4 * r);

    for (; count >= StepBlocks; count -= StepBlocks, in += StepBlocks * BlockBytes, out += StepBlocks * BlockBytes) {
        Vector s[Registers];
        for (std::size_t i = 0; i < Registers; ++i)
            s[i] = Ops::xor_(Ops::load(in + i * RegisterBytes), keys[0]);
        for (int r = 1; r < rounds; ++r)
            for (std::size_t i = 0; i < Registers; ++i)
                s[i] = Decrypt ? Ops::decrypt(s[i], keys[r]) : Ops::encrypt(s[i], keys[r]);
        for (std::size_t i = 0; i < Registers; ++i)
            Ops::store(out + i * RegisterBytes,
                       Decrypt ? Ops::decryptLast(s[i], keys[rounds]) : Ops::encryptLast(s[i], keys[rounds]));
    }
    if (count > 0)
        (Decrypt ? decryptBlocksAesNi : encryptBlocksAesNi)(schedule, in, out, count);
}

} // namespace Crypto::Rijndael::VaesSteps
