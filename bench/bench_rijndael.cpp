// cRijndael's array forms against OpenSSL's EVP AES-ECB on the same buffers and keys (128, 192
// and 256 bits; 16 KiB and 4 MiB), in one run: the class with the engine it picks on this
// processor, then each engine forced (skipped where the processor lacks it). Run with OPENSSL_ia32cap="~0x200000200000000" to hold the portable engine against
// OpenSSL's own code without AES-NI and SSSE3.

#include "crypto/aes/rijndael.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <memory>

using Crypto::cRijndael;

namespace {

const QByteArray &key()
{
    static const QByteArray bytes("0123456789abcdef0123456789ABCDEF");
    return bytes;
}

QByteArray input(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 131 + (i >> 9));
    return bytes;
}

// The class's array form without the length field: the same bytes as ECB on a whole number of
// blocks, so both sides handle exactly the same data.
void classArray(benchmark::State &state, cRijndael::Engine engine, bool decrypt)
{
    cRijndael aes(engine);
    if (aes.engine() != engine) {
        state.SkipWithError("this processor lacks the engine's instructions");
        return;
    }
    aes.SetCipherKey(key(), int(state.range(1)));
    const QByteArray in = input(state.range(0));
    QByteArray out;
    for (auto _ : state) {
        if (decrypt)
            aes.ArrayDecrypt(out, in, false);
        else
            aes.ArrayEncrypt(in, out, false);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void openSslEcb(benchmark::State &state, bool decrypt)
{
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    const EVP_CIPHER *cipher = state.range(1) == 128 ? EVP_aes_128_ecb()
        : state.range(1) == 192                      ? EVP_aes_192_ecb()
                                                     : EVP_aes_256_ecb();
    EVP_CipherInit_ex(ctx.get(), cipher, nullptr, reinterpret_cast<const unsigned char *>(key().constData()),
                      nullptr, decrypt ? 0 : 1);
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    const QByteArray in = input(state.range(0));
    QByteArray out(in.size(), Qt::Uninitialized);
    for (auto _ : state) {
        int length = 0;
        EVP_CipherUpdate(ctx.get(), reinterpret_cast<unsigned char *>(out.data()), &length,
                         reinterpret_cast<const unsigned char *>(in.constData()), int(in.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Both implementations must agree before their speeds mean anything.
bool sameBytes()
{
    const QByteArray in = input(4096);
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, reinterpret_cast<const unsigned char *>(key().constData()),
                       nullptr);
    QByteArray reference(in.size(), Qt::Uninitialized);
    int length = 0;
    EVP_EncryptUpdate(ctx.get(), reinterpret_cast<unsigned char *>(reference.data()), &length,
                      reinterpret_cast<const unsigned char *>(in.constData()), int(in.size()));
    using Engine = cRijndael::Engine;
    for (const auto engine : {Engine::Portable, Engine::Hardware, Engine::Vaes256, Engine::Vaes512}) {
        cRijndael aes(engine);
        aes.SetCipherKey(key(), 256);
        QByteArray out;
        aes.ArrayEncrypt(in, out, false);
        if (out != reference)
            return false;
    }
    return true;
}

constexpr long Small = 16 << 10;
constexpr long Large = 4 << 20;

} // namespace

// Arguments: bytes, key bits.
void sizesAndKeys(benchmark::internal::Benchmark *benchmark)
{
    for (const long keyBits : {256, 192, 128})
        for (const long size : {Small, Large})
            benchmark->Args({size, keyBits});
}

BENCHMARK_CAPTURE(classArray, encrypt_best, cRijndael::bestEngine(), false)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(openSslEcb, encrypt_openssl, false)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(classArray, decrypt_best, cRijndael::bestEngine(), true)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(openSslEcb, decrypt_openssl, true)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(classArray, encrypt_vaes256, cRijndael::Engine::Vaes256, false)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(classArray, decrypt_vaes256, cRijndael::Engine::Vaes256, true)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(classArray, encrypt_aesni, cRijndael::Engine::Hardware, false)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(classArray, decrypt_aesni, cRijndael::Engine::Hardware, true)->Apply(sizesAndKeys);
BENCHMARK_CAPTURE(classArray, encrypt_portable, cRijndael::Engine::Portable, false)->Args({Small, 256})->Args({Large, 256});
BENCHMARK_CAPTURE(classArray, decrypt_portable, cRijndael::Engine::Portable, true)->Args({Small, 256})->Args({Large, 256});

int main(int argc, char **argv)
{
    if (!sameBytes()) {
        fprintf(stderr, "bench_rijndael: cRijndael and OpenSSL disagree\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
