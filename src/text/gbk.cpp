#include "text/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace Text {

namespace {

#ifdef Q_OS_WIN
// Qt's GBK converter comes from ICU, which Qt's Windows builds need not carry; every Windows has
// code page 936, which is GBK. Texts and chunks here stay far below the 2^31 units the calls take.
constexpr UINT kGbkCodePage = 936;

QByteArray systemToGbk(QStringView text)
{
    const auto *units = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = int(text.size());
    const int size = WideCharToMultiByte(kGbkCodePage, 0, units, length, nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(kGbkCodePage, 0, units, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

QString systemFromGbk(QByteArrayView bytes)
{
    const int length = int(bytes.size());
    const int size = MultiByteToWideChar(kGbkCodePage, 0, bytes.data(), length, nullptr, 0);
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(kGbkCodePage, 0, bytes.data(), length, reinterpret_cast<wchar_t *>(text.data()), size);
    return text;
}
#endif
} // namespace

QByteArray toGbk(QStringView text)
{
    if (text.isEmpty())
        return {};
    // GBK's single bytes 0x00..0x7F are ASCII: Qt's vectorised ASCII paths need no converter.
    if (QtPrivate::isAscii(text))
        return text.toLatin1();
    QStringEncoder encoder(kGbkName);
#ifdef Q_OS_WIN
    if (!encoder.isValid())
        return systemToGbk(text);
#endif
    Q_ASSERT(encoder.isValid());
    return encoder.encode(text);
}

bool toGbkPieces(QStringView text, const std::function<bool(QByteArrayView)> &take)
{
    constexpr qsizetype kPieceUnits = 1 << 16;
    for (qsizetype at = 0, length = 0; at < text.size(); at += length) {
        length = std::min(kPieceUnits, text.size() - at);
        if (at + length < text.size() && text[at + length - 1].isHighSurrogate())
            ++length;
        if (!take(toGbk(text.sliced(at, length))))
            return false;
    }
    return true;
}

QString fromGbk(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    if (QtPrivate::isAscii(QLatin1StringView(bytes)))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(kGbkName);
#ifdef Q_OS_WIN
    if (!decoder.isValid())
        return systemFromGbk(bytes);
#endif
    Q_ASSERT(decoder.isValid());
    // The converter holds a lone lead byte at the end back for more input. A zero byte after it
    // makes it a character of its own (U+FFFD); the zero itself comes out as U+0000, dropped.
    // Both go into one buffer: appending to a full text would copy all of it.
    constexpr QByteArrayView kFlush("", 1);
    QString text(decoder.requiredSpace(bytes.size() + kFlush.size()), Qt::Uninitialized);
    QChar *end = decoder.appendToBuffer(text.data(), bytes);
    end = decoder.appendToBuffer(end, kFlush);
    if (end != text.constData() && end[-1] == u'\0')
        --end;
    text.truncate(end - text.constData());
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

bool canDecode(QByteArrayView charsetName)
{
    return charsetName.compare(kGbkName, Qt::CaseInsensitive) == 0
        || QStringDecoder(charsetName.toByteArray().constData()).isValid();
}

} // namespace Text
