#include "crypto/rndxor/rndxorfilereading.h"

#include "crypto/rndxor/mtransform.h"
#include "text/gbk.h"

#include <QLatin1StringView>

#include <algorithm>
#include <vector>

namespace Crypto {

namespace {

// Bytes read at a time.
constexpr qint64 kReadChunk = 1 << 20;

// Bytes below '0' are neither half of a GBK pair: the text of the bytes up to one of them does
// not depend on what follows, so a plain file is decoded segment by segment, each ending with
// one.
constexpr char kSegmentEnd = '0';

bool isAscii(QByteArrayView bytes)
{
    return QtPrivate::isAscii(QLatin1StringView(bytes));
}

} // namespace

qsizetype plainTextCapacity(const FileStreams &files)
{
    return files.inputSize() + 1; // GBK gives at most one unit a byte
}

qsizetype carrierCapacity(const FileStreams &files)
{
    return files.inputSize() / 4 + 2; // a unit takes four characters; one for a short last group
}

bool readPlainText(FileStreams &files, UnitsReader &reader, bool &survivesGbk)
{
    const auto takeSegment = [&](QByteArrayView bytes) {
        if (bytes.isEmpty())
            return;
        const QString text = Text::fromGbk(bytes);
        survivesGbk = survivesGbk && Text::toGbk(text) == bytes;
        reader.put(text);
    };
    QByteArray pending;
    std::vector<char> chunk(kReadChunk);
    qint64 got = 0;
    while (!reader.stopping() && (got = files.read(chunk.data(), kReadChunk)) > 0) {
        const QByteArrayView bytes(chunk.data(), got);
        if (pending.isEmpty() && isAscii(bytes)) {
            reader.putAscii(bytes);
            continue;
        }
        // Only the new bytes can hold the end: pending was cut after its last one.
        const auto last = std::find_if(bytes.crbegin(), bytes.crend(), [](char c) { return uchar(c) < kSegmentEnd; });
        const qsizetype end = pending.size() + (last.base() - bytes.cbegin());
        pending += bytes;
        takeSegment(QByteArrayView(pending).first(end));
        pending.remove(0, end);
    }
    takeSegment(pending);
    return got >= 0;
}

bool readCarrierUnits(FileStreams &files, UnitsReader &reader)
{
    MTransform::Hex2Reader hex;
    // From the first chunk with a byte that is not ASCII on (a damaged file), the rest is read
    // as GBK text at the end, as the text form would read it.
    QByteArray rest;
    std::vector<char> chunk(kReadChunk);
    qint64 got = 0;
    while (!reader.stopping() && (got = files.read(chunk.data(), kReadChunk)) > 0) {
        const QByteArrayView bytes(chunk.data(), got);
        if (rest.isEmpty() && isAscii(bytes))
            reader.publish(qsizetype(hex.feed(bytes.data(), std::size_t(got), reader.room((got + 3) / 4))));
        else
            rest += bytes;
    }
    if (got < 0)
        return false;
    if (!rest.isEmpty()) {
        const QString text = Text::fromGbk(rest);
        reader.publish(qsizetype(hex.feed(text, reader.room((text.size() + 3) / 4))));
    }
    reader.publish(qsizetype(hex.finish(reader.room(1))));
    return true;
}

} // namespace Crypto
