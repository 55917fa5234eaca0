#include "crypto/base64/base64avx512.h"

#include "crypto/base64/base64kernel.h"

#if defined(__x86_64__) || defined(__i386__)
#define VORLEN_HAVE_AVX512 1
#include <immintrin.h>
#endif

#include <array>
#include <cstdint>

namespace Crypto::Base64Kernel {

#ifdef VORLEN_HAVE_AVX512

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Byte tables built at compile time and loaded into registers once per call.
struct Tables
{
    // Each group of three bytes a b c into the 32-bit word [b a c b].
    std::array<std::uint8_t, 64> spread{};
    // The value of each of the 128 ASCII characters, 0x80 for those outside the alphabet.
    std::array<std::uint8_t, 128> values{};
    // Bytes 2, 1, 0 of each 32-bit word, packed into the first 48 bytes.
    std::array<std::uint8_t, 64> pack{};
    constexpr Tables()
    {
        for (int group = 0; group < 16; ++group) {
            const int a = 3 * group;
            spread[4 * group] = std::uint8_t(a + 1);
            spread[4 * group + 1] = std::uint8_t(a);
            spread[4 * group + 2] = std::uint8_t(a + 2);
            spread[4 * group + 3] = std::uint8_t(a + 1);
            pack[3 * group] = std::uint8_t(4 * group + 2);
            pack[3 * group + 1] = std::uint8_t(4 * group + 1);
            pack[3 * group + 2] = std::uint8_t(4 * group);
        }
        for (auto &value : values)
            value = 0x80;
        for (int v = 0; v < 64; ++v)
            values[std::size_t(kAlphabet[v])] = std::uint8_t(v);
    }
};
constexpr Tables kTables;

inline __m512i load(const void *p)
{
    return _mm512_loadu_si512(p);
}

} // namespace

bool avx512Available()
{
    return __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw");
}

void encodeAvx512(const unsigned char *in, std::size_t byteCount, char *out) noexcept
{
    const __m512i spread = load(kTables.spread.data());
    const __m512i alphabet = load(kAlphabet);
    // From each 64-bit lane of [b a c b] words, the eight 6-bit fields at these bit offsets.
    const __m512i fields = _mm512_set1_epi64(0x3036242A1016040A);
    // Each step loads 64 bytes and uses 48: it stops while 64 remain readable.
    for (; byteCount >= 64; byteCount -= 48, in += 48, out += 64) {
        const __m512i words = _mm512_permutexvar_epi8(spread, load(in));
        const __m512i sextets = _mm512_multishift_epi64_epi8(fields, words);
        _mm512_storeu_si512(out, _mm512_permutexvar_epi8(sextets, alphabet));
    }
    encodeScalar(in, byteCount, out);
}

void decodeGroupsAvx512(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept
{
    const __m512i lowValues = load(kTables.values.data());
    const __m512i highValues = load(kTables.values.data() + 64);
    const __m512i pack = load(kTables.pack.data());
    // Each step stores 64 bytes and keeps 48: it stops while 64 bytes of output remain.
    for (; groupCount >= 22; groupCount -= 16, in += 64, out += 48) {
        const __m512i characters = load(in);
        const __m512i sextets = _mm512_permutex2var_epi8(lowValues, characters, highValues);
        // A set top bit: a character outside the alphabet, or a byte above 127.
        if (_mm512_movepi8_mask(_mm512_or_si512(sextets, characters)) != 0) {
            decodeGroupsScalar(in, 16, out);
            continue;
        }
        const __m512i pairs = _mm512_maddubs_epi16(sextets, _mm512_set1_epi32(0x01400140));
        const __m512i words = _mm512_madd_epi16(pairs, _mm512_set1_epi32(0x00011000));
        _mm512_storeu_si512(out, _mm512_permutexvar_epi8(pack, words));
    }
    decodeGroupsScalar(in, groupCount, out);
}

#else

bool avx512Available()
{
    return false;
}

void encodeAvx512(const unsigned char *in, std::size_t byteCount, char *out) noexcept
{
    encodeScalar(in, byteCount, out);
}

void decodeGroupsAvx512(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept
{
    decodeGroupsScalar(in, groupCount, out);
}

#endif

} // namespace Crypto::Base64Kernel
