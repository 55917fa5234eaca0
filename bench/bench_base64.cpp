// Base64 encode and decode of the same 4 MiB by the project's kernels (the one chosen at run
// time, then AVX2 and scalar) and by OpenSSL's EVP_EncodeBlock/EVP_DecodeBlock, side by side.
#include "crypto/base64/base64avx2.h"
#include "crypto/base64/base64kernel.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <random>
#include <vector>

namespace {

constexpr std::size_t kInputSize = 4 << 20; // a multiple of 3: no padding in the decoder input

std::vector<unsigned char> randomBytes(std::size_t size)
{
    std::vector<unsigned char> bytes(size);
    std::mt19937 generator(4648);
    for (unsigned char &byte : bytes)
        byte = static_cast<unsigned char>(generator());
    return bytes;
}

std::vector<unsigned char> encoded(const std::vector<unsigned char> &plain)
{
    std::vector<unsigned char> text(Crypto::Base64Kernel::encodedSize(plain.size()) + 1);
    EVP_EncodeBlock(text.data(), plain.data(), static_cast<int>(plain.size()));
    text.pop_back();
    return text;
}

template <void (*Encode)(const unsigned char *, std::size_t, char *) noexcept>
void BM_Base64Encode_Vorlen(benchmark::State &state)
{
    if (Encode == Crypto::Base64Kernel::encodeAvx2 && !Crypto::Base64Kernel::avx2Available()) {
        state.SkipWithError("this processor has no AVX2");
        return;
    }
    const auto plain = randomBytes(kInputSize);
    std::vector<char> text(Crypto::Base64Kernel::encodedSize(plain.size()));
    for (auto _ : state) {
        Encode(plain.data(), plain.size(), text.data());
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * plain.size());
}

void BM_Base64Encode_OpenSSL(benchmark::State &state)
{
    const auto plain = randomBytes(kInputSize);
    std::vector<unsigned char> text(Crypto::Base64Kernel::encodedSize(plain.size()) + 1);
    for (auto _ : state) {
        EVP_EncodeBlock(text.data(), plain.data(), static_cast<int>(plain.size()));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * plain.size());
}

template <void (*Decode)(const unsigned char *, std::size_t, unsigned char *) noexcept>
void BM_Base64Decode_Vorlen(benchmark::State &state)
{
    if (Decode == Crypto::Base64Kernel::decodeGroupsAvx2 && !Crypto::Base64Kernel::avx2Available()) {
        state.SkipWithError("this processor has no AVX2");
        return;
    }
    const auto text = encoded(randomBytes(kInputSize));
    std::vector<unsigned char> plain(text.size() / 4 * 3);
    for (auto _ : state) {
        Decode(text.data(), text.size() / 4, plain.data());
        benchmark::DoNotOptimize(plain.data());
    }
    state.SetBytesProcessed(state.iterations() * plain.size());
}

void BM_Base64Decode_OpenSSL(benchmark::State &state)
{
    const auto text = encoded(randomBytes(kInputSize));
    std::vector<unsigned char> plain(text.size() / 4 * 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_DecodeBlock(plain.data(), text.data(), static_cast<int>(text.size())));
        benchmark::DoNotOptimize(plain.data());
    }
    state.SetBytesProcessed(state.iterations() * plain.size());
}

} // namespace

BENCHMARK(BM_Base64Encode_Vorlen<Crypto::Base64Kernel::encode>)->Name("BM_Base64Encode_Vorlen");
BENCHMARK(BM_Base64Encode_Vorlen<Crypto::Base64Kernel::encodeAvx2>)->Name("BM_Base64Encode_VorlenAvx2");
BENCHMARK(BM_Base64Encode_Vorlen<Crypto::Base64Kernel::encodeScalar>)->Name("BM_Base64Encode_VorlenScalar");
BENCHMARK(BM_Base64Encode_OpenSSL);
BENCHMARK(BM_Base64Decode_Vorlen<Crypto::Base64Kernel::decodeGroups>)->Name("BM_Base64Decode_Vorlen");
BENCHMARK(BM_Base64Decode_Vorlen<Crypto::Base64Kernel::decodeGroupsAvx2>)->Name("BM_Base64Decode_VorlenAvx2");
BENCHMARK(BM_Base64Decode_Vorlen<Crypto::Base64Kernel::decodeGroupsScalar>)->Name("BM_Base64Decode_VorlenScalar");
BENCHMARK(BM_Base64Decode_OpenSSL);

BENCHMARK_MAIN();
