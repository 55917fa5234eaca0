#include "text/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Text {

namespace {
constexpr char kGbkName[] = "GBK";
}

QByteArray toGbk(QStringView text)
{
    if (text.isEmpty())
        return {};
    QStringEncoder encoder(kGbkName);
    Q_ASSERT(encoder.isValid());
    return encoder.encode(text);
}

QString fromGbk(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    QStringDecoder decoder(kGbkName);
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}

QString decode(QByteArrayView bytes, QByteArrayView charsetName)
{
    if (!charsetName.isEmpty()) {
        QStringDecoder decoder(charsetName.toByteArray().constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return fromGbk(bytes);
}

} // namespace Text
