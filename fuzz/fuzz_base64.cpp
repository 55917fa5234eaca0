// The Base64 decoder on any text; and ASCII text without U+0000 survives encode then decode.
#include "fuzzinput.h"

#include "crypto/base64endecode.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Crypto::CBase64EnDeCode base64;
    (void)base64.Base64StringDecode(fuzzText(data, size));

    QString ascii;
    for (std::size_t i = 0; i < size; ++i)
        ascii.append(QChar(char16_t(1 + data[i] % 127)));
    if (base64.Base64StringDecode(base64.Base64StringEncode(ascii)) != ascii)
        std::abort();
    return 0;
}
