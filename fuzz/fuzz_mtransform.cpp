// HEX_to_STR2 on any text; any text survives STR_to_HEX2 then HEX_to_STR2; and the reader fed
// one character at a time (never six at once, so never the "HH HH " shortcut) agrees.
#include "fuzzinput.h"

#include "crypto/rndxor/mtransform.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace Crypto::MTransform;
    const QString text = fuzzText(data, size);
    const QString whole = HEX_to_STR2(text);
    if (HEX_to_STR2(STR_to_HEX2(text)) != text)
        std::abort();
    std::vector<char16_t> units(std::size_t(text.size()) + 1);
    std::size_t count = 0;
    Hex2Reader reader;
    for (qsizetype i = 0; i < text.size(); ++i)
        count += reader.feed(QStringView(text).sliced(i, 1), units.data() + count);
    count += reader.finish(units.data() + count);
    if (QStringView(units.data(), qsizetype(count)) != whole)
        std::abort();
    return 0;
}
