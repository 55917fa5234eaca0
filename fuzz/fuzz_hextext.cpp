// The hexadecimal text reader of the AES text form, with the decipher behind it.
#include "fuzzinput.h"

#include "crypto/ciphererror.h"
#include "crypto/aes/rijndael.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    silenceCipherMessages();
    Crypto::cRijndael aes;
    (void)aes.StringDecrypt(fuzzText(data, size), QStringLiteral("Quill"), 256, 256);
    return 0;
}
