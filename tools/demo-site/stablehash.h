#pragma once

#include <cstdint>
#include <string_view>

namespace DemoSite {

// A number fixed by the seed, a text and a salt alone, on every platform: FNV-1a over the text,
// mixed with the seed and salt by one splitmix64 step. The site's chance decisions (dead shares,
// failing requests) hang on it, so tests can predict them.
inline std::uint64_t stableHash(std::uint32_t seed, std::string_view text, std::uint64_t salt)
{
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001B3ULL;
    }
    std::uint64_t z = h ^ (static_cast<std::uint64_t>(seed) << 32) ^ (salt * 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace DemoSite
