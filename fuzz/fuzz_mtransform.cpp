// HEX_to_STR2 on any text; and any text survives STR_to_HEX2 then HEX_to_STR2.
#include "fuzzinput.h"

#include "crypto/mtransform.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    (void)Crypto::MTransform::HEX_to_STR2(text);
    if (Crypto::MTransform::HEX_to_STR2(Crypto::MTransform::STR_to_HEX2(text)) != text)
        std::abort();
    return 0;
}
