#include "crypto/aes/rijndaeltables.h"

namespace Crypto::Rijndael {

namespace {

constexpr std::uint8_t xtime(std::uint8_t x)
{
    return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1b : 0x00));
}

constexpr std::uint8_t rotl8(std::uint8_t x, int n)
{
    return static_cast<std::uint8_t>((x << n) | (x >> (8 - n)));
}

constexpr std::uint32_t repeated(std::uint8_t b)
{
    return b * 0x01010101u;
}

constexpr std::uint32_t word(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    return b0 | (std::uint32_t(b1) << 8) | (std::uint32_t(b2) << 16) | (std::uint32_t(b3) << 24);
}

// Towards the high end by 8 bits: table k is table 0 rotated k byte places.
constexpr std::uint32_t rotateBytes(std::uint32_t w, int places)
{
    const int bits = 8 * places;
    return bits == 0 ? w : (w << bits) | (w >> (32 - bits));
}

struct Field
{
    std::array<std::uint8_t, 256> power{};
    std::array<std::uint8_t, 256> logarithm{};

    constexpr Field()
    {
        power[0] = 1;
        for (int i = 1; i < 256; ++i)
            power[i] = power[i - 1] ^ xtime(power[i - 1]); // times 3
        for (int i = 1; i < 256; ++i)
            logarithm[power[i]] = static_cast<std::uint8_t>(i);
    }

    constexpr std::uint8_t multiply(std::uint8_t a, std::uint8_t b) const
    {
        if (a == 0 || b == 0)
            return 0;
        return power[(logarithm[a] + logarithm[b]) % 255];
    }

    constexpr std::uint8_t inverse(std::uint8_t x) const { return power[255 - logarithm[x]]; }
};

constexpr Tables build()
{
    const Field field;
    Tables t{};
    std::array<std::uint8_t, 256> s{};
    std::array<std::uint8_t, 256> inv{};
    s[0] = 0x63;
    for (int x = 1; x < 256; ++x) {
        const std::uint8_t i = field.inverse(static_cast<std::uint8_t>(x));
        s[x] = i ^ rotl8(i, 1) ^ rotl8(i, 2) ^ rotl8(i, 3) ^ rotl8(i, 4) ^ 0x63;
    }
    for (int x = 0; x < 256; ++x)
        inv[s[x]] = static_cast<std::uint8_t>(x);

    std::uint8_t rc = 1;
    for (std::uint32_t &constant : t.roundConstants) {
        constant = rc;
        rc = xtime(rc);
    }

    for (int x = 0; x < 256; ++x) {
        t.sbox[x] = repeated(s[x]);
        t.inverseSbox[x] = repeated(inv[x]);
        const std::uint8_t e = s[x];
        const std::uint8_t d = inv[x];
        const std::uint32_t enc = word(field.multiply(e, 2), e, e, field.multiply(e, 3));
        const std::uint32_t dec = word(field.multiply(d, 0x0e), field.multiply(d, 0x09),
                                       field.multiply(d, 0x0d), field.multiply(d, 0x0b));
        for (int k = 0; k < 4; ++k) {
            t.encryption[k][x] = rotateBytes(enc, k);
            t.decryption[k][x] = rotateBytes(dec, k);
        }
    }
    return t;
}

} // namespace

constexpr Tables tables = build();

static_assert(tables.sbox[0x00] == 0x63636363u && tables.sbox[0x53] == 0xededededu);
static_assert(tables.inverseSbox[0x63] == 0 && tables.roundConstants[9] == 0x36);

} // namespace Crypto::Rijndael
