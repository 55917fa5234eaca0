// The Base64 decoder on any text; ASCII text without U+0000 survives encode then decode; and the
// kernel in use (a vector one where the processor has it) gives the scalar kernel's bytes and
// characters for the raw input, read both as bytes to encode and as groups to decode.
#include "fuzzinput.h"

#include "crypto/base64/base64endecode.h"
#include "crypto/base64/base64kernel.h"

#include <cstdlib>
#include <vector>

namespace {

void compareKernels(const std::uint8_t *data, std::size_t size)
{
    namespace Kernel = Crypto::Base64Kernel;
    std::vector<char> scalarText(Kernel::encodedSize(size)), kernelText(scalarText.size());
    Kernel::encodeScalar(data, size, scalarText.data());
    Kernel::encode(data, size, kernelText.data());
    std::vector<unsigned char> scalarBytes(size / 4 * 3), kernelBytes(scalarBytes.size());
    Kernel::decodeGroupsScalar(data, size / 4, scalarBytes.data());
    Kernel::decodeGroups(data, size / 4, kernelBytes.data());
    if (scalarText != kernelText || scalarBytes != kernelBytes)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    compareKernels(data, size);

    const Crypto::CBase64EnDeCode base64;
    (void)base64.Base64StringDecode(fuzzText(data, size));

    QString ascii;
    for (std::size_t i = 0; i < size; ++i)
        ascii.append(QChar(char16_t(1 + data[i] % 127)));
    if (base64.Base64StringDecode(base64.Base64StringEncode(ascii)) != ascii)
        std::abort();
    return 0;
}
