#include "crypto/md5/md5encrypt.h"

#include "crypto/ciphererror.h"
#include "crypto/md5/md5kernel.h"
#include "text/gbk.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace Crypto {

namespace {

// Large enough to keep the kernel busy, small enough that a file of any size digests in
// constant memory.
constexpr qint64 kFileChunkSize = 64 * 1024;

// Error numbers and descriptions of the platform's file and argument errors.
constexpr int kInvalidArgument = 5;
constexpr int kSubscriptOutOfRange = 9;
constexpr int kFileNotFound = 53;
constexpr int kDeviceIoError = 57;
constexpr int kFileAccessError = 75;

[[noreturn]] void raise(int number, const char *text, const QString &detail = {})
{
    QString description = QString::fromLatin1(text);
    if (!detail.isEmpty())
        description += u": " + detail;
    throw CipherError(number, description);
}

} // namespace

CMD5Encrypt::CMD5Encrypt()
{
    MD5Init();
}

QString CMD5Encrypt::RegisterA() const { return registerText(0); }
QString CMD5Encrypt::RegisterB() const { return registerText(1); }
QString CMD5Encrypt::RegisterC() const { return registerText(2); }
QString CMD5Encrypt::RegisterD() const { return registerText(3); }

QString CMD5Encrypt::registerText(int index) const
{
    return QString::number(static_cast<qint32>(m_registers[index]));
}

QString CMD5Encrypt::DigestFileToHexStr(const QString &fileName)
{
    QFile file(fileName);
    if (!QFileInfo::exists(fileName))
        raise(kFileNotFound, "File not found", fileName);
    if (!file.open(QIODevice::ReadOnly))
        raise(kFileAccessError, "Path/File access error", fileName);

    MD5Init();
    const auto chunk = std::make_unique<char[]>(kFileChunkSize);
    for (;;) {
        const qint64 got = file.read(chunk.get(), kFileChunkSize);
        if (got < 0)
            raise(kDeviceIoError, "Device I/O error", fileName);
        if (got == 0)
            break;
        MD5Update(got, QByteArrayView(chunk.get(), got));
    }
    MD5Final();
    return GetValues();
}

QString CMD5Encrypt::DigestStrToHexStr(QStringView source)
{
    const QByteArray bytes = Text::toGbk(source);
    MD5Init();
    MD5Update(bytes.size(), bytes);
    MD5Final();
    return GetValues();
}

QString CMD5Encrypt::GetValues() const
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    QString text(32, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (std::uint32_t word : m_registers) {
        for (int byte = 0; byte < 4; ++byte, word >>= 8) {
            *out++ = kDigits[(word >> 4) & 0xF];
            *out++ = kDigits[word & 0xF];
        }
    }
    return text;
}

void CMD5Encrypt::MD5Init()
{
    std::copy(std::begin(Md5Kernel::kInitialState), std::end(Md5Kernel::kInitialState), m_registers.begin());
    m_byteCount = 0;
}

void CMD5Encrypt::MD5Final()
{
    unsigned char padding[Md5Kernel::kBlockSize + 8] = {0x80};
    const std::uint64_t bitCount = m_byteCount * 8;
    const std::size_t index = m_byteCount % Md5Kernel::kBlockSize;
    const std::size_t padLength = index < 56 ? 56 - index : 120 - index;
    for (int i = 0; i < 8; ++i)
        padding[padLength + i] = static_cast<unsigned char>(bitCount >> (8 * i));
    MD5Update(static_cast<qint64>(padLength + 8), QByteArrayView(padding, padLength + 8));
}

void CMD5Encrypt::MD5Update(qint64 byteCount, QByteArrayView bytes)
{
    if (byteCount < 0)
        raise(kInvalidArgument, "Invalid procedure call or argument");
    if (byteCount > bytes.size())
        raise(kSubscriptOutOfRange, "Subscript out of range");

    if (byteCount == 0)
        return;

    auto input = reinterpret_cast<const unsigned char *>(bytes.data());
    auto remaining = static_cast<std::size_t>(byteCount);
    const std::size_t index = m_byteCount % Md5Kernel::kBlockSize;
    m_byteCount += remaining;

    if (index != 0) {
        const std::size_t fill = std::min(remaining, Md5Kernel::kBlockSize - index);
        std::memcpy(m_buffer.data() + index, input, fill);
        input += fill;
        remaining -= fill;
        if (index + fill < Md5Kernel::kBlockSize)
            return;
        Md5Kernel::compress(m_registers.data(), m_buffer.data(), 1);
    }
    const std::size_t wholeBlocks = remaining / Md5Kernel::kBlockSize;
    Md5Kernel::compress(m_registers.data(), input, wholeBlocks);
    input += wholeBlocks * Md5Kernel::kBlockSize;
    std::memcpy(m_buffer.data(), input, remaining % Md5Kernel::kBlockSize);
}

qint32 CMD5Encrypt::LongLeftRotate(qint32 &value, qint32 &shiftCount)
{
    shiftCount %= 32;
    if (shiftCount > 0)
        value = static_cast<qint32>(std::rotl(static_cast<std::uint32_t>(value), shiftCount));
    return value;
}

} // namespace Crypto
