#include "text/gbkpairs.h"

#include "text/gbk.h"

#include <array>
#include <memory>

namespace Text {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// The character of every (lead >= 0x80, trail) pair, asked of the GBK codec once per process:
// decoding pair by pair is what keeps an invalid pair from swallowing or splitting its
// neighbours, and the table makes that as fast as a single pass.
using PairTable = std::array<char16_t, 128 * 256>;

std::unique_ptr<const PairTable> buildPairTable()
{
    auto table = std::make_unique<PairTable>();
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const QString decoded = Text::fromGbk(QByteArrayView(pair, 2));
            const bool oneCharacter = decoded.size() == 1 && decoded[0] != QChar(kReplacement);
            (*table)[(lead - 0x80) * 256 + trail] = oneCharacter ? decoded[0].unicode() : kReplacement;
        }
    }
    return table;
}

const PairTable &pairTable()
{
    static const std::unique_ptr<const PairTable> table = buildPairTable();
    return *table;
}

} // namespace

QString decodeGbkPairs(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const char16_t *const start = out;

    qsizetype i = 0;
    while (i < size && in[i] != 0) {
        if (in[i] < 0x80) {
            *out++ = in[i++];
        } else if (i + 1 < size) {
            *out++ = pairTable()[(in[i] - 0x80) * 256 + in[i + 1]];
            i += 2;
        } else {
            *out++ = kReplacement;
            ++i;
        }
    }
    text.truncate(out - start);
    return text;
}

} // namespace Text
