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
    QString text = decoder.decode(bytes);
    // The converter holds a lone lead byte at the end back for more input. A zero byte after it
    // makes it a character of its own (U+FFFD); the zero itself comes out as U+0000, dropped.
    text += decoder.decode(QByteArrayView("", 1));
    if (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
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
