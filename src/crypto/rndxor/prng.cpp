#include "crypto/rndxor/prng.h"

#include <bit>

namespace Crypto {

namespace {

constexpr std::uint64_t kGoldenGamma = 0x9E3779B97F4A7C15u;

// Origin of every restart, so that even the argument whose bits are 0 starts somewhere odd.
constexpr std::uint64_t kRestartOrigin = 0x5EED0F7E5A17C0DEu;

constexpr std::uint64_t finalise(std::uint64_t z) noexcept
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

constexpr double toUnit(std::uint64_t output) noexcept
{
    return static_cast<double>(output >> 11) * 0x1.0p-53;
}

// first or other without a branch: the choice below is a coin toss, which a branch would
// mispredict half the time. GCC turns every select form into a branch here, hence the cmov.
inline std::uint64_t pick(bool takeOther, std::uint64_t first, std::uint64_t other) noexcept
{
#if defined(__x86_64__) && defined(__GNUC__)
    asm("test %1, %1\n\tcmovne %2, %0" : "+r"(first) : "r"(std::uint64_t(takeOther)), "r"(other) : "cc");
    return first;
#else
    return first ^ ((first ^ other) & (std::uint64_t(0) - std::uint64_t(takeOther)));
#endif
}

} // namespace

double Prng::draw() noexcept
{
    m_state += kGoldenGamma;
    return toUnit(finalise(m_state));
}

double Prng::draw(double argument) noexcept
{
    if (argument < 0)
        m_state = finalise(kRestartOrigin ^ std::bit_cast<std::uint64_t>(argument));
    return draw();
}

void Prng::reseed(double value) noexcept
{
    m_state = finalise(m_state ^ std::bit_cast<std::uint64_t>(value));
}

// 128 × draw() scales the top 53 bits by a power of two, exactly: its integer part is the top 7.
void Prng::xorUnits(std::span<const char16_t> units, char16_t *out) noexcept
{
    std::uint64_t state = m_state;
    for (const char16_t unit : units) {
        state += kGoldenGamma;
        *out++ = static_cast<char16_t>(unit ^ (finalise(state) >> 57));
    }
    m_state = state;
}

// Per unit, with s the state: s1 = s + gamma, r from finalise(s1); the second draw restarts
// only when -r * c < 0, that is c > 0 and r > 0, else it continues from s1; s3 is the state it
// leaves. nearbyint(m) is 1 exactly when m > 0.5, and reseeding with 0.0 leaves finalise(s3),
// the very output of that draw. So both possible next states, and the next unit's first
// output from each, are computed side by side and one is kept once the draw is known. The
// branch on c depends on the text alone, so the processor settles it long before the chain
// gets there.
void Prng::absorb(std::span<const char16_t> units) noexcept
{
    constexpr std::uint64_t kOneBits = std::bit_cast<std::uint64_t>(1.0);
    constexpr std::uint64_t kHalf = std::uint64_t(1) << 52;
    std::uint64_t s1 = m_state + kGoldenGamma;
    std::uint64_t x1 = finalise(s1);
    for (const char16_t unit : units) {
        const auto c = static_cast<std::int16_t>(unit);
        std::uint64_t s2 = s1;
        if (c > 0) {
            // -r * c exactly as the draw computes it: scaling by a power of two is exact. r is 0
            // once in 2^53 draws, so the branch costs nothing.
            const std::uint64_t top = x1 >> 11;
            if (top != 0) [[likely]] {
                const double argument = static_cast<double>(static_cast<std::int64_t>(top)) * (c * -0x1.0p-53);
                s2 = finalise(kRestartOrigin ^ std::bit_cast<std::uint64_t>(argument));
            }
        }
        const std::uint64_t s3 = s2 + kGoldenGamma;
        const std::uint64_t reseededZero = finalise(s3);
        const std::uint64_t reseededOne = finalise(s3 ^ kOneBits);
        const bool one = (reseededZero >> 11) > kHalf;
        const std::uint64_t nextZero = reseededZero + kGoldenGamma;
        const std::uint64_t nextOne = reseededOne + kGoldenGamma;
        const std::uint64_t outputZero = finalise(nextZero);
        const std::uint64_t outputOne = finalise(nextOne);
        s1 = pick(one, nextZero, nextOne);
        x1 = pick(one, outputZero, outputOne);
    }
    m_state = s1 - kGoldenGamma;
}

} // namespace Crypto
