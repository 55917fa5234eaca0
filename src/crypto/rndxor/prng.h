#pragma once

#include <cstdint>
#include <span>

namespace Crypto {

// The pseudo-random generator of CRndXorHash: SplitMix64 (Steele, Lea and Flood, "Fast
// splittable pseudorandom number generators", 2014), a 64-bit counter stepped by the golden
// ratio and passed through a 64-bit finaliser. Its exact behaviour is part of the ciphertext
// format, so nothing here may change.
class Prng
{
public:
    // The next number in [0, 1): the top 53 bits of the next output.
    double draw() noexcept;

    // With a negative argument the generator first restarts from a state derived from the
    // argument's bits alone (so draw(-1) always restarts from one fixed state); any other
    // argument is ignored. Then returns the next number, as draw().
    double draw(double argument) noexcept;

    // Mixes value (its full double bits) into the state.
    void reseed(double value) noexcept;

    // The seeding step for each unit in order, c being the unit as a signed 16-bit number:
    //     r = draw(); m = draw(-r * c); reseed(nearbyint(m));
    // Same states as those calls, computed without their serial detours: this is the
    // latency-bound loop of every check value.
    void absorb(std::span<const char16_t> units) noexcept;

    // out[i] = units[i] XOR the integer part of 128 × draw(), for each unit in order; out may
    // be units.data().
    void xorUnits(std::span<const char16_t> units, char16_t *out) noexcept;

private:
    std::uint64_t m_state = 0;
};

} // namespace Crypto
