// cRijndael's array forms with a 256-bit key against OpenSSL's EVP AES-256-ECB on the same
// buffers, in one run: the class with the engine it picks on this processor, then the portable
// engine alone. Run with OPENSSL_ia32cap="~0x200000200000000" to hold the portable engine against
// OpenSSL's own code without AES-NI and SSSE3.

#include "crypto/rijndael.h"

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
        state.SkipWithError("this processor has no AES instructions");
        return;
    }
    aes.SetCipherKey(key(), 256);
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
    EVP_CipherInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, reinterpret_cast<const unsigned char *>(key().constData()),
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
    for (const auto engine : {cRijndael::Engine::Portable, cRijndael::bestEngine()}) {
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

BENCHMARK_CAPTURE(classArray, encrypt_best, cRijndael::bestEngine(), false)->Arg(Small)->Arg(Large);
BENCHMARK_CAPTURE(openSslEcb, encrypt_openssl, false)->Arg(Small)->Arg(Large);
BENCHMARK_CAPTURE(classArray, decrypt_best, cRijndael::bestEngine(), true)->Arg(Small)->Arg(Large);
BENCHMARK_CAPTURE(openSslEcb, decrypt_openssl, true)->Arg(Small)->Arg(Large);
BENCHMARK_CAPTURE(classArray, encrypt_portable, cRijndael::Engine::Portable, false)->Arg(Small)->Arg(Large);
BENCHMARK_CAPTURE(classArray, decrypt_portable, cRijndael::Engine::Portable, true)->Arg(Small)->Arg(Large);

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
