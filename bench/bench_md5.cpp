// MD5 of the same buffers by CMD5Encrypt and by OpenSSL, side by side.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "crypto/md5/md5encrypt.h"

#include <benchmark/benchmark.h>
#include <openssl/md5.h>

#include <QByteArray>

#include <random>

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    std::mt19937 generator(1321);
    for (char &byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

void BM_Md5_Vorlen(benchmark::State &state)
{
    const QByteArray input = randomBytes(state.range(0));
    Crypto::CMD5Encrypt md5;
    for (auto _ : state) {
        md5.MD5Init();
        md5.MD5Update(input.size(), input);
        md5.MD5Final();
        benchmark::DoNotOptimize(md5.GetValues());
    }
    state.SetBytesProcessed(state.iterations() * input.size());
}

void BM_Md5_OpenSSL(benchmark::State &state)
{
    const QByteArray input = randomBytes(state.range(0));
    unsigned char digest[MD5_DIGEST_LENGTH];
    for (auto _ : state) {
        MD5_CTX context;
        MD5_Init(&context);
        MD5_Update(&context, input.constData(), static_cast<size_t>(input.size()));
        MD5_Final(digest, &context);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * input.size());
}

} // namespace

BENCHMARK(BM_Md5_Vorlen)->Arg(16 << 10)->Arg(4 << 20);
BENCHMARK(BM_Md5_OpenSSL)->Arg(16 << 10)->Arg(4 << 20);

BENCHMARK_MAIN();
