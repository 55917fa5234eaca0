#pragma once

#include "crypto/io/fileoutcome.h"

#include <QString>
#include <QStringView>

namespace Crypto {

// Base64 (RFC 4648, standard alphabet, "=" padding, no line breaks) of texts through their GBK
// bytes, and of files. Holds no state. Every operation ends quietly on failure: the text
// operations with the empty text, the file operations having written nothing and telling the
// caller which file failed and why. The files are streamed (Base64File).
class CBase64EnDeCode
{
public:
    // Base64 of the text's GBK bytes: 4 × ceil(n / 3) characters.
    QString Base64StringEncode(QStringView source) const;

    // Decodes the text's GBK bytes four at a time from the start: a last lone character is
    // ignored, a last group of two or three characters gives "", and any byte outside the
    // alphabet counts as 0 in its place. The bytes become text by the GBK pairing rule of
    // Text::decodeGbkPairs(), cut before the first U+0000.
    QString Base64StringDecode(QStringView base64) const;

    // Writes the Base64 of the plain file's bytes into the Base64 file.
    FileOutcome Base64FileEncode(const QString &plainFile, const QString &base64File) const;

    // Writes every decoded byte of the Base64 file into the plain file, never into the "="
    // padding and with no cut at a zero byte, so every file survives an encode and a decode
    // exactly; the grouping rules are Base64StringDecode's.
    FileOutcome Base64FileDecode(const QString &plainFile, const QString &base64File) const;
};

} // namespace Crypto
