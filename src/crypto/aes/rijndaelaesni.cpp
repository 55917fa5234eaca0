#include "crypto/aes/rijndaelaesni.h"

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define VORLEN_HAVE_AESNI 1
#include <immintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#endif

namespace Crypto::Rijndael {

#ifdef VORLEN_HAVE_AESNI

namespace {

// Eight blocks in flight hide the latency of the round instruction, which can issue every cycle.
constexpr std::size_t Lanes = 8;

inline __m128i roundKey(const std::uint32_t *keys, int round)
{
    return _mm_load_si128(reinterpret_cast<const __m128i *>(keys + 4 * round));
}

struct Encrypt
{
    static __m128i round(__m128i s, __m128i k) { return _mm_aesenc_si128(s, k); }
    static __m128i last(__m128i s, __m128i k) { return _mm_aesenclast_si128(s, k); }
};

struct Decrypt
{
    static __m128i round(__m128i s, __m128i k) { return _mm_aesdec_si128(s, k); }
    static __m128i last(__m128i s, __m128i k) { return _mm_aesdeclast_si128(s, k); }
};

template <typename Direction, std::size_t Width>
inline void group(const std::uint32_t *keys, int rounds, const std::uint8_t *in, std::uint8_t *out)
{
    __m128i s[Width];
    const __m128i first = roundKey(keys, 0);
    for (std::size_t i = 0; i < Width; ++i)
        s[i] = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in) + i), first);
    for (int r = 1; r < rounds; ++r) {
        const __m128i k = roundKey(keys, r);
        for (std::size_t i = 0; i < Width; ++i)
            s[i] = Direction::round(s[i], k);
    }
    const __m128i k = roundKey(keys, rounds);
    for (std::size_t i = 0; i < Width; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out) + i, Direction::last(s[i], k));
}

template <typename Direction>
void blocks(const std::uint32_t *keys, int rounds, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    for (; count >= Lanes; count -= Lanes, in += Lanes * BlockBytes, out += Lanes * BlockBytes)
        group<Direction, Lanes>(keys, rounds, in, out);
    for (; count > 0; --count, in += BlockBytes, out += BlockBytes)
        group<Direction, 1>(keys, rounds, in, out);
}

} // namespace

bool aesNiAvailable()
{
#if defined(_MSC_VER) && !defined(__clang__)
    int registers[4]; // eax, ebx, ecx, edx of leaf 1; ecx bit 25 is AES, bit 19 SSE4.1
    __cpuid(registers, 1);
    return (registers[2] & (1 << 25)) != 0 && (registers[2] & (1 << 19)) != 0;
#else
    return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse4.1");
#endif
}

void encryptBlocksAesNi(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    blocks<Encrypt>(schedule.encryption.data(), schedule.rounds, in, out, count);
}

void decryptBlocksAesNi(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    blocks<Decrypt>(schedule.decryption.data(), schedule.rounds, in, out, count);
}

#else

bool aesNiAvailable()
{
    return false;
}

void encryptBlocksAesNi(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    encryptBlocksPortable(schedule, in, out, count);
}

void decryptBlocksAesNi(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    decryptBlocksPortable(schedule, in, out, count);
}

#endif

} // namespace Crypto::Rijndael
