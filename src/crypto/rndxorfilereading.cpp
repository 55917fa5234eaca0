#include "crypto/rndxorfilereading.h"

#include "crypto/mtransform.h"
#include "text/gbk.h"

#include <QLatin1StringView>

namespace Crypto {

namespace {

// Bytes read at a time.
constexpr qint64 kReadChunk = 1 << 20;

// Hands the input's ASCII chunks to takeAscii until a chunk holds another byte; that chunk and
// all after it are gathered into rest. false on a read failure.
template <typename TakeAscii>
bool readAsciiChunks(FileStreams &files, TakeAscii takeAscii, QByteArray &rest)
{
    std::vector<char> chunk(kReadChunk);
    for (qint64 got; (got = files.read(chunk.data(), kReadChunk)) != 0;) {
        if (got < 0)
            return false;
        const QByteArrayView bytes(chunk.data(), got);
        if (rest.isEmpty() && QtPrivate::isAscii(QLatin1StringView(bytes))) {
            takeAscii(bytes);
        } else {
            if (rest.isEmpty())
                rest.reserve(files.inputSize());
            rest += bytes;
        }
    }
    return true;
}

} // namespace

std::optional<PlainText> readPlainText(FileStreams &files)
{
    PlainText plain;
    QByteArray rest;
    const auto widen = [&](QByteArrayView ascii) {
        if (plain.text.isEmpty())
            plain.text.reserve(files.inputSize());
        plain.text.append(QLatin1StringView(ascii));
    };
    if (!readAsciiChunks(files, widen, rest))
        return std::nullopt;
    if (!rest.isEmpty()) {
        QString tail = Text::fromGbk(rest);
        qsizetype compared = 0;
        plain.survivesGbk = Text::toGbkPieces(tail, [&](QByteArrayView piece) {
            const bool same = QByteArrayView(rest).sliced(compared).startsWith(piece);
            compared += piece.size();
            return same;
        }) && compared == rest.size();
        if (plain.text.isEmpty())
            plain.text = std::move(tail);
        else
            plain.text.append(tail);
    }
    return plain;
}

std::optional<std::vector<char16_t>> readCarrierUnits(FileStreams &files)
{
    std::vector<char16_t> units;
    units.reserve(std::size_t(files.inputSize() / 4 + 1));
    std::size_t count = 0;
    const auto room = [&](std::size_t characters) {
        units.resize(count + (characters + 3) / 4);
        return units.data() + count;
    };
    MTransform::Hex2Reader reader;
    const auto readHex = [&](QByteArrayView ascii) {
        count += reader.feed(ascii.data(), std::size_t(ascii.size()), room(std::size_t(ascii.size())));
    };
    QByteArray rest;
    if (!readAsciiChunks(files, readHex, rest))
        return std::nullopt;
    if (!rest.isEmpty()) {
        const QString text = Text::fromGbk(rest);
        count += reader.feed(text, room(std::size_t(text.size())));
    }
    count += reader.finish(room(1));
    units.resize(count);
    return units;
}

} // namespace Crypto
