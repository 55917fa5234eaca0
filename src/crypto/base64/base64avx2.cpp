#include "crypto/base64/base64avx2.h"

#include "crypto/base64/base64kernel.h"

#if defined(__x86_64__) || defined(__i386__)
#define VORLEN_HAVE_AVX2 1
#include <immintrin.h>
#endif

namespace Crypto::Base64Kernel {

#ifdef VORLEN_HAVE_AVX2

namespace {

// 24 input bytes, 12 per 128-bit lane, to 32 six-bit values, one per byte.
inline __m256i splitIntoSextets(const unsigned char *in)
{
    // Bytes 0..11 into the low lane, 12..23 into the high lane.
    const __m256i loaded = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(in));
    const __m256i lanes = _mm256_permutevar8x32_epi32(loaded, _mm256_setr_epi32(0, 1, 2, 0, 3, 4, 5, 0));
    // Each group of three bytes a b c becomes the 32-bit word [b a c b] (little-endian bytes),
    // which holds all four sextets at fixed bit positions.
    const __m256i words = _mm256_shuffle_epi8(lanes, _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10,
                                                                       1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10));
    // Sextets 1 and 3 shifted down by a high multiply, 2 and 4 up by a low one.
    const __m256i odd = _mm256_mulhi_epu16(_mm256_and_si256(words, _mm256_set1_epi32(0x0FC0FC00)),
                                           _mm256_set1_epi32(0x04000040));
    const __m256i even = _mm256_mullo_epi16(_mm256_and_si256(words, _mm256_set1_epi32(0x003F03F0)),
                                            _mm256_set1_epi32(0x01000010));
    return _mm256_or_si256(odd, even);
}

// Six-bit values to characters: one offset per range (A-Z, a-z, 0-9, "+", "/"), found by a
// 16-entry table look-up on a saturated index.
inline __m256i sextetsToCharacters(__m256i sextets)
{
    const __m256i offsets = _mm256_setr_epi8(65, 71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 0, 0,
                                             65, 71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 0, 0);
    __m256i index = _mm256_subs_epu8(sextets, _mm256_set1_epi8(51));
    index = _mm256_sub_epi8(index, _mm256_cmpgt_epi8(sextets, _mm256_set1_epi8(25)));
    return _mm256_add_epi8(sextets, _mm256_shuffle_epi8(offsets, index));
}

// 32 characters to their six-bit values; false when one of them is outside the alphabet. The
// two nibble tables flag every byte that is not a Base64 character (one bit per class of high
// nibble), and a third table gives the offset of each range.
inline bool charactersToSextets(__m256i characters, __m256i &sextets)
{
    const __m256i lowFlags = _mm256_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13, 0x1A, 0x1B,
                                              0x1B, 0x1B, 0x1A, 0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                              0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A);
    const __m256i highFlags = _mm256_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10, 0x10,
                                               0x10, 0x10, 0x10, 0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10,
                                               0x10, 0x10, 0x10, 0x10, 0x10, 0x10);
    const __m256i offsets = _mm256_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0,
                                             0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m256i slash = _mm256_set1_epi8(0x2F);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi32(characters, 4), slash);
    const __m256i low = _mm256_and_si256(characters, slash);
    if (!_mm256_testz_si256(_mm256_shuffle_epi8(lowFlags, low), _mm256_shuffle_epi8(highFlags, high)))
        return false;
    // "/" shares its high nibble with "+": the compare moves it to its own table entry.
    const __m256i index = _mm256_add_epi8(_mm256_cmpeq_epi8(characters, slash), high);
    sextets = _mm256_add_epi8(characters, _mm256_shuffle_epi8(offsets, index));
    return true;
}

// 32 six-bit values to 24 bytes in the low 24 bytes of the result.
inline __m256i joinSextets(__m256i sextets)
{
    const __m256i pairs = _mm256_maddubs_epi16(sextets, _mm256_set1_epi32(0x01400140));
    const __m256i words = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    const __m256i packed = _mm256_shuffle_epi8(words, _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,
                                                                       2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
    return _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
}

constexpr std::size_t StepBytes = 24;
constexpr std::size_t StepGroups = 8;

} // namespace

bool avx2Available()
{
    return __builtin_cpu_supports("avx2");
}

void encodeAvx2(const unsigned char *in, std::size_t byteCount, char *out) noexcept
{
    // Each step loads 32 bytes and uses 24: it stops while 32 remain readable.
    for (; byteCount >= 32; byteCount -= StepBytes, in += StepBytes, out += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), sextetsToCharacters(splitIntoSextets(in)));
    encodeScalar(in, byteCount, out);
}

void decodeGroupsAvx2(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept
{
    // Each step stores 32 bytes and keeps 24: it stops while 32 bytes of output remain.
    for (; groupCount >= StepGroups + 3; groupCount -= StepGroups, in += 4 * StepGroups, out += StepBytes) {
        __m256i sextets;
        if (charactersToSextets(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(in)), sextets))
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), joinSextets(sextets));
        else
            decodeGroupsScalar(in, StepGroups, out);
    }
    decodeGroupsScalar(in, groupCount, out);
}

#else

bool avx2Available()
{
    return false;
}

void encodeAvx2(const unsigned char *in, std::size_t byteCount, char *out) noexcept
{
    encodeScalar(in, byteCount, out);
}

void decodeGroupsAvx2(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept
{
    decodeGroupsScalar(in, groupCount, out);
}

#endif

} // namespace Crypto::Base64Kernel
