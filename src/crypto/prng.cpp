#include "crypto/prng.h"

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

} // namespace

double Prng::draw() noexcept
{
    m_state += kGoldenGamma;
    return static_cast<double>(finalise(m_state) >> 11) * 0x1.0p-53;
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

} // namespace Crypto
