#include "crypto/md5/md5kernel.h"

#include <bit>
#include <cstring>

namespace Crypto::Md5Kernel {

namespace {

// RFC 1321 Decode: message words are little-endian whatever the host.
inline std::uint32_t load32le(const unsigned char *p) noexcept
{
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = (word >> 24) | ((word >> 8) & 0xff00u) | ((word << 8) & 0xff0000u) | (word << 24);
    return word;
}

// The four round operations. G is written as a sum of two disjoint masks so that its halves
// can be added into a independently, which shortens the dependency chain of round 2.
inline void FF(std::uint32_t &a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, std::uint32_t t, int s) noexcept
{
    a += (d ^ (b & (c ^ d))) + x + t;
    a = std::rotl(a, s) + b;
}

inline void GG(std::uint32_t &a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, std::uint32_t t, int s) noexcept
{
    a += x + t + (c & ~d);
    a += b & d;
    a = std::rotl(a, s) + b;
}

inline void HH(std::uint32_t &a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, std::uint32_t t, int s) noexcept
{
    a += (b ^ c ^ d) + x + t;
    a = std::rotl(a, s) + b;
}

inline void II(std::uint32_t &a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, std::uint32_t t, int s) noexcept
{
    a += (c ^ (b | ~d)) + x + t;
    a = std::rotl(a, s) + b;
}

void transform(std::uint32_t state[4], const unsigned char *block) noexcept
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = load32le(block + 4 * i);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    FF(a, b, c, d, x[0], 0xD76AA478, 7);    FF(d, a, b, c, x[1], 0xE8C7B756, 12);
    FF(c, d, a, b, x[2], 0x242070DB, 17);   FF(b, c, d, a, x[3], 0xC1BDCEEE, 22);
    FF(a, b, c, d, x[4], 0xF57C0FAF, 7);    FF(d, a, b, c, x[5], 0x4787C62A, 12);
    FF(c, d, a, b, x[6], 0xA8304613, 17);   FF(b, c, d, a, x[7], 0xFD469501, 22);
    FF(a, b, c, d, x[8], 0x698098D8, 7);    FF(d, a, b, c, x[9], 0x8B44F7AF, 12);
    FF(c, d, a, b, x[10], 0xFFFF5BB1, 17);  FF(b, c, d, a, x[11], 0x895CD7BE, 22);
    FF(a, b, c, d, x[12], 0x6B901122, 7);   FF(d, a, b, c, x[13], 0xFD987193, 12);
    FF(c, d, a, b, x[14], 0xA679438E, 17);  FF(b, c, d, a, x[15], 0x49B40821, 22);

    GG(a, b, c, d, x[1], 0xF61E2562, 5);    GG(d, a, b, c, x[6], 0xC040B340, 9);
    GG(c, d, a, b, x[11], 0x265E5A51, 14);  GG(b, c, d, a, x[0], 0xE9B6C7AA, 20);
    GG(a, b, c, d, x[5], 0xD62F105D, 5);    GG(d, a, b, c, x[10], 0x02441453, 9);
    GG(c, d, a, b, x[15], 0xD8A1E681, 14);  GG(b, c, d, a, x[4], 0xE7D3FBC8, 20);
    GG(a, b, c, d, x[9], 0x21E1CDE6, 5);    GG(d, a, b, c, x[14], 0xC33707D6, 9);
    GG(c, d, a, b, x[3], 0xF4D50D87, 14);   GG(b, c, d, a, x[8], 0x455A14ED, 20);
    GG(a, b, c, d, x[13], 0xA9E3E905, 5);   GG(d, a, b, c, x[2], 0xFCEFA3F8, 9);
    GG(c, d, a, b, x[7], 0x676F02D9, 14);   GG(b, c, d, a, x[12], 0x8D2A4C8A, 20);

    HH(a, b, c, d, x[5], 0xFFFA3942, 4);    HH(d, a, b, c, x[8], 0x8771F681, 11);
    HH(c, d, a, b, x[11], 0x6D9D6122, 16);  HH(b, c, d, a, x[14], 0xFDE5380C, 23);
    HH(a, b, c, d, x[1], 0xA4BEEA44, 4);    HH(d, a, b, c, x[4], 0x4BDECFA9, 11);
    HH(c, d, a, b, x[7], 0xF6BB4B60, 16);   HH(b, c, d, a, x[10], 0xBEBFBC70, 23);
    HH(a, b, c, d, x[13], 0x289B7EC6, 4);   HH(d, a, b, c, x[0], 0xEAA127FA, 11);
    HH(c, d, a, b, x[3], 0xD4EF3085, 16);   HH(b, c, d, a, x[6], 0x04881D05, 23);
    HH(a, b, c, d, x[9], 0xD9D4D039, 4);    HH(d, a, b, c, x[12], 0xE6DB99E5, 11);
    HH(c, d, a, b, x[15], 0x1FA27CF8, 16);  HH(b, c, d, a, x[2], 0xC4AC5665, 23);

    II(a, b, c, d, x[0], 0xF4292244, 6);    II(d, a, b, c, x[7], 0x432AFF97, 10);
    II(c, d, a, b, x[14], 0xAB9423A7, 15);  II(b, c, d, a, x[5], 0xFC93A039, 21);
    II(a, b, c, d, x[12], 0x655B59C3, 6);   II(d, a, b, c, x[3], 0x8F0CCC92, 10);
    II(c, d, a, b, x[10], 0xFFEFF47D, 15);  II(b, c, d, a, x[1], 0x85845DD1, 21);
    II(a, b, c, d, x[8], 0x6FA87E4F, 6);    II(d, a, b, c, x[15], 0xFE2CE6E0, 10);
    II(c, d, a, b, x[6], 0xA3014314, 15);   II(b, c, d, a, x[13], 0x4E0811A1, 21);
    II(a, b, c, d, x[4], 0xF7537E82, 6);    II(d, a, b, c, x[11], 0xBD3AF235, 10);
    II(c, d, a, b, x[2], 0x2AD7D2BB, 15);   II(b, c, d, a, x[9], 0xEB86D391, 21);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

void compress(std::uint32_t state[4], const unsigned char *blocks, std::size_t blockCount) noexcept
{
    for (std::size_t i = 0; i < blockCount; ++i)
        transform(state, blocks + i * kBlockSize);
}

} // namespace Crypto::Md5Kernel
