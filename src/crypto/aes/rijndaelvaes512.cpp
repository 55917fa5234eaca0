// The 512-bit VAES kernel: built with VAES and AVX-512F.
#include "crypto/aes/rijndaelvaes.h"

#if defined(__x86_64__) || defined(__i386__)
#include "crypto/aes/rijndaelvaessteps.h"

#include <immintrin.h>

namespace Crypto::Rijndael {

namespace {

struct Ops512
{
    using Vector = __m512i;
    static constexpr std::size_t Blocks = 4;
    static Vector key(const std::uint32_t *words)
    {
        return _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i *>(words)));
    }
    static Vector load(const std::uint8_t *p) { return _mm512_loadu_si512(reinterpret_cast<const __m512i *>(p)); }
    static void store(std::uint8_t *p, Vector v) { _mm512_storeu_si512(reinterpret_cast<__m512i *>(p), v); }
    static Vector xor_(Vector a, Vector b) { return _mm512_xor_si512(a, b); }
    static Vector encrypt(Vector s, Vector k) { return _mm512_aesenc_epi128(s, k); }
    static Vector encryptLast(Vector s, Vector k) { return _mm512_aesenclast_epi128(s, k); }
    static Vector decrypt(Vector s, Vector k) { return _mm512_aesdec_epi128(s, k); }
    static Vector decryptLast(Vector s, Vector k) { return _mm512_aesdeclast_epi128(s, k); }
};

} // namespace

bool vaes512Available()
{
    return aesNiAvailable() && VaesSteps::processorHasVaes() && __builtin_cpu_supports("avx512f");
}

void encryptBlocksVaes512(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    VaesSteps::blocks<Ops512, false>(schedule, in, out, count);
}

void decryptBlocksVaes512(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    VaesSteps::blocks<Ops512, true>(schedule, in, out, count);
}

} // namespace Crypto::Rijndael

#else

namespace Crypto::Rijndael {

bool vaes512Available()
{
    return false;
}

void encryptBlocksVaes512(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    encryptBlocksPortable(schedule, in, out, count);
}

void decryptBlocksVaes512(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
{
    decryptBlocksPortable(schedule, in, out, count);
}

} // namespace Crypto::Rijndael

#endif
