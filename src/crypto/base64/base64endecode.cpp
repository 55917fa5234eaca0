#include "crypto/base64/base64endecode.h"

#include "crypto/base64/base64kernel.h"
#include "crypto/base64/base64file.h"
#include "text/gbkpairs.h"
#include "crypto/quietly.h"
#include "text/gbk.h"

#include <optional>

namespace Crypto {

namespace {

QByteArray encodeBytes(QByteArrayView plain)
{
    QByteArray text(static_cast<qsizetype>(Base64Kernel::encodedSize(plain.size())), Qt::Uninitialized);
    Base64Kernel::encode(reinterpret_cast<const unsigned char *>(plain.data()), plain.size(), text.data());
    return text;
}

// The decoded bytes followed by a zero byte, so that a last lead byte always has its partner
// as the pairing rule demands; nullopt when the last group runs past the end.
std::optional<QByteArray> decodeBytes(QByteArrayView text)
{
    const qsizetype tail = text.size() % 4;
    if (tail == 2 || tail == 3)
        return std::nullopt;
    const qsizetype groups = text.size() / 4;
    QByteArray bytes(3 * groups + 1, '\0');
    Base64Kernel::decodeGroups(reinterpret_cast<const unsigned char *>(text.data()), groups,
                               reinterpret_cast<unsigned char *>(bytes.data()));
    return bytes;
}

} // namespace

QString CBase64EnDeCode::Base64StringEncode(QStringView source) const
{
    return quietly([source] { return QString::fromLatin1(encodeBytes(Text::toGbk(source))); });
}

QString CBase64EnDeCode::Base64StringDecode(QStringView base64) const
{
    return quietly([base64] {
        const std::optional<QByteArray> bytes = decodeBytes(Text::toGbk(base64));
        return bytes ? Text::decodeGbkPairs(*bytes) : QString();
    });
}

FileOutcome CBase64EnDeCode::Base64FileEncode(const QString &plainFile, const QString &base64File) const
{
    return quietly([&] { return Base64File::encode(plainFile, base64File); });
}

FileOutcome CBase64EnDeCode::Base64FileDecode(const QString &plainFile, const QString &base64File) const
{
    return quietly([&] { return Base64File::decode(plainFile, base64File); });
}

} // namespace Crypto
