#include "crypto/base64/base64kernel.h"

#include "crypto/base64/base64avx2.h"
#include "crypto/base64/base64avx512.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>

namespace Crypto::Base64Kernel {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Two output characters per 12 input bits: half the table look-ups of a per-character loop.
struct PairTable
{
    std::array<char, 2 * 4096> chars{};
    constexpr PairTable()
    {
        for (int v = 0; v < 4096; ++v) {
            chars[2 * v] = kAlphabet[v >> 6];
            chars[2 * v + 1] = kAlphabet[v & 63];
        }
    }
};
constexpr PairTable kPairs;

// One table per position in the group, each value already shifted into place in the 24-bit
// group, so a group is four look-ups and three ORs. Foreign characters map to 0.
struct DecodeTables
{
    std::array<std::array<std::uint32_t, 256>, 4> shifted{};
    constexpr DecodeTables()
    {
        for (std::uint32_t v = 0; v < 64; ++v) {
            const auto c = static_cast<unsigned char>(kAlphabet[v]);
            for (int position = 0; position < 4; ++position)
                shifted[position][c] = v << (18 - 6 * position);
        }
    }
};
constexpr DecodeTables kDecode;

std::atomic<Engine> &chosenEngine()
{
    static std::atomic<Engine> engine{bestEngine()};
    return engine;
}

inline void encodeGroup(std::uint32_t group, char *out) noexcept
{
    std::memcpy(out, &kPairs.chars[2 * (group >> 12)], 2);
    std::memcpy(out + 2, &kPairs.chars[2 * (group & 0xFFF)], 2);
}

inline std::uint32_t decodeGroup(const unsigned char *in) noexcept
{
    return kDecode.shifted[0][in[0]] | kDecode.shifted[1][in[1]] | kDecode.shifted[2][in[2]]
        | kDecode.shifted[3][in[3]];
}

} // namespace

Engine bestEngine()
{
    return avx512Available() ? Engine::Avx512 : avx2Available() ? Engine::Avx2 : Engine::Scalar;
}

void setEngine(Engine engine)
{
    const bool available = engine == Engine::Scalar || (engine == Engine::Avx2 && avx2Available())
        || (engine == Engine::Avx512 && avx512Available());
    chosenEngine() = available ? engine : Engine::Scalar;
}

Engine engine()
{
    return chosenEngine();
}

void encode(const unsigned char *in, std::size_t byteCount, char *out) noexcept
{
    switch (engine()) {
    case Engine::Avx512:
        return encodeAvx512(in, byteCount, out);
    case Engine::Avx2:
        return encodeAvx2(in, byteCount, out);
    case Engine::Scalar:
        break;
    }
    encodeScalar(in, byteCount, out);
}

void decodeGroups(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept
{
    switch (engine()) {
    case Engine::Avx512:
        return decodeGroupsAvx512(in, groupCount, out);
    case Engine::Avx2:
        return decodeGroupsAvx2(in, groupCount, out);
    case Engine::Scalar:
        break;
    }
    decodeGroupsScalar(in, groupCount, out);
}

void encodeScalar(const unsigned char *in, std::size_t byteCount, char *out) noexcept
{
    const std::size_t whole = byteCount / 3;
    for (std::size_t i = 0; i < whole; ++i, in += 3, out += 4)
        encodeGroup(std::uint32_t{in[0]} << 16 | std::uint32_t{in[1]} << 8 | in[2], out);

    switch (byteCount % 3) {
    case 1:
        encodeGroup(std::uint32_t{in[0]} << 16, out);
        out[2] = out[3] = '=';
        break;
    case 2:
        encodeGroup(std::uint32_t{in[0]} << 16 | std::uint32_t{in[1]} << 8, out);
        out[3] = '=';
        break;
    default:
        break;
    }
}

void decodeGroupsScalar(const unsigned char *in, std::size_t groupCount, unsigned char *out) noexcept
{
    for (std::size_t i = 0; i < groupCount; ++i, in += 4, out += 3) {
        const std::uint32_t group = decodeGroup(in);
        out[0] = static_cast<unsigned char>(group >> 16);
        out[1] = static_cast<unsigned char>(group >> 8);
        out[2] = static_cast<unsigned char>(group);
    }
}

} // namespace Crypto::Base64Kernel
