// The character set of any page and its header: only a set this program decodes is named,
// never one that reads ASCII differently, and decoding yields no more characters than bytes.
// The first byte gives the length of the Content-Type value that follows it; the rest is the body.
#include "net/charsetprescan.h"
#include "net/pagedecoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

bool decodable(const QByteArray &name)
{
    return name.isEmpty() || (Net::knownCharset(name) == name && name == name.toLower());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView input(data + 1, static_cast<qsizetype>(size - 1));
    const qsizetype headerLength = std::min<qsizetype>(data[0], input.size());
    const QByteArrayView contentType = input.first(headerLength);
    const QByteArrayView body = input.sliced(headerLength);

    const QByteArray parameter = Net::charsetParameter(contentType);
    if (parameter != parameter.toLower() || parameter.size() > contentType.size())
        std::abort();

    const QByteArray prescanned = Net::prescanCharset(body);
    if (!decodable(prescanned))
        std::abort();
    if (!prescanned.isEmpty()) {
        static const QByteArray sample = QByteArrayLiteral("<meta charset=\"x\">");
        QStringDecoder decoder(prescanned.constData());
        if (QString(decoder.decode(sample)) != QLatin1StringView(sample))
            std::abort();
    }
    // Only the first 1024 bytes are looked at.
    if (body.size() > 1024 && Net::prescanCharset(body.first(1024)) != prescanned)
        std::abort();

    const QByteArray declared = Net::declaredCharset(contentType, body);
    if (!decodable(declared))
        std::abort();
    const QString page = Net::decodePage(contentType, body);
    if (page.size() > body.size())
        std::abort();
    return 0;
}
