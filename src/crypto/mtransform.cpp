#include "crypto/mtransform.h"

#include "crypto/quietly.h"

#include <QVarLengthArray>

namespace Crypto::MTransform {

namespace {

int hexValue(char16_t c) noexcept
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// A two-character part read by its leading hexadecimal digits; past the end reads as 0.
int pairValue(QStringView text, qsizetype position) noexcept
{
    const int high = position < text.size() ? hexValue(text[position].unicode()) : -1;
    if (high < 0)
        return 0;
    const int low = position + 1 < text.size() ? hexValue(text[position + 1].unicode()) : -1;
    return low < 0 ? high : high * 16 + low;
}

QString withoutSpaces(QStringView text)
{
    QString compact(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(compact.data());
    for (QChar c : text) {
        if (c != u' ')
            *out++ = c.unicode();
    }
    compact.truncate(out - reinterpret_cast<const char16_t *>(compact.constData()));
    return compact;
}

} // namespace

QString STR_to_HEX2(QStringView text)
{
    return quietly([text] {
        static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        QString hex(text.size() * 6, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(hex.data());
        for (QChar c : text) {
            const unsigned unit = c.unicode();
            for (const unsigned byte : {unit & 0xFFu, unit >> 8}) {
                *out++ = kDigits[byte >> 4];
                *out++ = kDigits[byte & 0xF];
                *out++ = u' ';
            }
        }
        return hex;
    });
}

QString HEX_to_STR2(QStringView hex)
{
    return quietly([hex] {
        const QString compact = withoutSpaces(hex);
        QString text((compact.size() + 3) / 4, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (qsizetype p = 0; p < compact.size(); p += 4)
            *out++ = static_cast<char16_t>(pairValue(compact, p) | pairValue(compact, p + 2) << 8);
        return text;
    });
}

} // namespace Crypto::MTransform
