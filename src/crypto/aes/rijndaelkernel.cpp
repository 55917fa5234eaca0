#include "crypto/aes/rijndaelkernel.h"

#include "crypto/aes/rijndaeltables.h"

#include <utility>

namespace Crypto::Rijndael {

namespace {

inline std::uint32_t load32le(const std::uint8_t *p)
{
    return p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

inline void store32le(std::uint8_t *p, std::uint32_t w)
{
    p[0] = static_cast<std::uint8_t>(w);
    p[1] = static_cast<std::uint8_t>(w >> 8);
    p[2] = static_cast<std::uint8_t>(w >> 16);
    p[3] = static_cast<std::uint8_t>(w >> 24);
}

inline std::uint32_t byteAt(std::uint32_t w, int index)
{
    return (w >> (8 * index)) & 0xff;
}

// Byte k of the result is byte k of box[byte k of wk], for a table with the byte repeated.
inline std::uint32_t substitute(const WordTable &box, std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                std::uint32_t w3)
{
    return (box[byteAt(w0, 0)] & 0x000000ffu) ^ (box[byteAt(w1, 1)] & 0x0000ff00u)
           ^ (box[byteAt(w2, 2)] & 0x00ff0000u) ^ (box[byteAt(w3, 3)] & 0xff000000u);
}

// SubWord of the key schedule.
inline std::uint32_t substituteWord(std::uint32_t w)
{
    return substitute(tables.sbox, w, w, w, w);
}

// Calls f(0) ... f(N - 1) with compile-time indices, so that the state stays in registers
// whatever the optimiser's own unrolling limits are.
template <int N, typename F>
inline void unroll(F &&f)
{
    [&]<int... I>(std::integer_sequence<int, I...>) {
        (f(std::integral_constant<int, I>()), ...);
    }(std::make_integer_sequence<int, N>());
}

// Row k of output column c comes from column c + k * Step: Step 1 is ShiftRows, Step 3 its
// inverse. One template serves both directions, so the two ciphers cannot drift apart.
template <int Step>
struct Shifted
{
    static constexpr int column(int c, int row) { return (c + row * Step) & 3; }

    static inline std::uint32_t fullRound(const std::array<WordTable, 4> &t, const std::uint32_t *s, int c,
                                          std::uint32_t key)
    {
        return t[0][byteAt(s[column(c, 0)], 0)] ^ t[1][byteAt(s[column(c, 1)], 1)]
               ^ t[2][byteAt(s[column(c, 2)], 2)] ^ t[3][s[column(c, 3)] >> 24] ^ key;
    }

    static inline std::uint32_t lastRound(const WordTable &box, const std::uint32_t *s, int c, std::uint32_t key)
    {
        return substitute(box, s[column(c, 0)], s[column(c, 1)], s[column(c, 2)], s[column(c, 3)]) ^ key;
    }

    // Lanes blocks side by side: their rounds are independent, so the table look-ups of one
    // block fill the load latency of the other. Reads all input before writing, so in and out
    // may be the same bytes.
    template <int Lanes>
    static inline void group(const std::array<WordTable, 4> &t, const WordTable &box, const std::uint32_t *keys,
                             int rounds, const std::uint8_t *in, std::uint8_t *out)
    {
        constexpr int Words = 4 * Lanes;
        std::uint32_t s[Lanes][4];
        std::uint32_t n[Lanes][4];
        unroll<Words>([&](auto i) { s[i / 4][i % 4] = load32le(in + 4 * i) ^ keys[i % 4]; });
        const std::uint32_t *k = keys + 4;
        for (int r = 1; r < rounds; ++r, k += 4) {
            unroll<Words>([&](auto i) { n[i / 4][i % 4] = fullRound(t, s[i / 4], i % 4, k[i % 4]); });
            unroll<Words>([&](auto i) { s[i / 4][i % 4] = n[i / 4][i % 4]; });
        }
        unroll<Words>([&](auto i) { store32le(out + 4 * i, lastRound(box, s[i / 4], i % 4, k[i % 4])); });
    }

    static void blocks(const std::array<WordTable, 4> &t, const WordTable &box, const std::uint32_t *keys,
                       int rounds, const std::uint8_t *in, std::uint8_t *out, std::size_t count)
    {
        constexpr int Pair = 2;
        for (; count >= Pair; count -= Pair, in += Pair * BlockBytes, out += Pair * BlockBytes)
            group<Pair>(t, box, keys, rounds, in, out);
        if (count > 0)
            group<1>(t, box, keys, rounds, in, out);
    }
};

} // namespace

int roundsForKeyBits(int keyBits)
{
    switch (keyBits) {
    case 128: return 10;
    case 192: return 12;
    case 256: return 14;
    default: return 0;
    }
}

void expandKey(KeySchedule &schedule, const std::uint8_t *key, int keyBits)
{
    const int nk = keyBits / 32;
    schedule.rounds = roundsForKeyBits(keyBits);
    const int total = 4 * (schedule.rounds + 1);
    std::uint32_t *w = schedule.encryption.data();
    for (int i = 0; i < nk; ++i)
        w[i] = load32le(key + 4 * i);
    for (int i = nk; i < total; ++i) {
        std::uint32_t t = w[i - 1];
        if (i % nk == 0)
            t = substituteWord((t >> 8) | (t << 24)) ^ tables.roundConstants[i / nk - 1];
        else if (nk > 6 && i % nk == 4)
            t = substituteWord(t);
        w[i] = w[i - nk] ^ t;
    }
}

void makeDecryptKeys(KeySchedule &schedule)
{
    const int rounds = schedule.rounds;
    const std::uint32_t *e = schedule.encryption.data();
    std::uint32_t *d = schedule.decryption.data();
    for (int r = 0; r <= rounds; ++r)
        for (int j = 0; j < 4; ++j)
            d[4 * r + j] = e[4 * (rounds - r) + j];
    // InvMixColumns through the decryption tables: D[k][S[b]] is InvMixColumns of b in row k.
    const auto &dt = tables.decryption;
    const auto &s = tables.sbox;
    for (int i = 4; i < 4 * rounds; ++i) {
        const std::uint32_t v = d[i];
        d[i] = dt[0][s[byteAt(v, 0)] & 0xff] ^ dt[1][s[byteAt(v, 1)] & 0xff] ^ dt[2][s[byteAt(v, 2)] & 0xff]
               ^ dt[3][s[byteAt(v, 3)] & 0xff];
    }
}

void encryptBlocksPortable(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out,
                           std::size_t count)
{
    Shifted<1>::blocks(tables.encryption, tables.sbox, schedule.encryption.data(), schedule.rounds, in, out,
                       count);
}

void decryptBlocksPortable(const KeySchedule &schedule, const std::uint8_t *in, std::uint8_t *out,
                           std::size_t count)
{
    Shifted<3>::blocks(tables.decryption, tables.inverseSbox, schedule.decryption.data(), schedule.rounds, in,
                       out, count);
}

} // namespace Crypto::Rijndael
