// The 256-bit VAES kernel: built with VAES and AVX2 only, so it runs where AVX-512 is absent.
#include "crypto/aes/rijndaelvaes.h"

#if defined(__x86_64__) || defined(__i386__)
#include "crypto/aes/rijndaelvaessteps.h"

#include <immintrin.h>

namespace Crypto::Rijndael {

namespace {

struct Ops256
{
    using Vector = __m256i;
    static constexpr std::size_t Blocks = 2;
    static Vector key(const std::uint32_t *words)
    {
        return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i *>(words)));
    }
    static Vector load(const std::uint8_t *p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p)); }
    static void store(std::uint8_t *p, Vector v) { _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), v); }
    static Vector xor_(Vector a, Vector b) { return _mm256_xor_si256(a, b); }
    static Vector encrypt(Vector s, Vector k) { return _mm256_aesenc_epi128(s, k); }
    static Vector encryptLast(Vector s, Vector k) { return _mm256_aesenclast_epi128(s, k); }
    static Vector decrypt(Vector s, Vector k) { return _mm256_aesdec_epi128(s, k); }
    static Vector decryptLast(Vector s, Vector k) { return _mm256_aesdeclast_epi128(s, k); }
};

} // namespace

bool vaes256Available()
{
    return aesNiAvailable() && VaesSteps::processorHasVaes() && __builtin_cpu_supports("avx2");
}

void encryptBlocksVaes256(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    VaesSteps::blocks<Ops256, false>(schedule, in, out, count);
}

void decryptBlocksVaes256(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    VaesSteps::blocks<Ops256, true>(schedule, in, out, count);
}

} // namespace Crypto::Rijndael

#else

namespace Crypto::Rijndael {

bool vaes256Available()
{
    return false;
}

void encryptBlocksVaes256(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    encryptBlocksPortable(schedule, in, out, count);
}

void decryptBlocksVaes256(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    decryptBlocksPortable(schedule, in, out, count);
}

} // namespace Crypto::Rijndael

#endif
