// The random-XOR decipher on any ciphertext text.
#include "fuzzinput.h"

#include "crypto/rndxor/rndxorhash.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    silenceCipherMessages();
    Crypto::CRndXorHash cipher;
    (void)cipher.StringDecrypt(fuzzText(data, size), QStringLiteral("pw"));
    return 0;
}
