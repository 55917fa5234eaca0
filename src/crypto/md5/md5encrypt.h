#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace Crypto {

// MD5 digests (RFC 1321) of texts and files as hexadecimal text, with each stage of the
// algorithm exposed. Handles nothing itself: errors reach the caller as Crypto::CipherError.
// Counts are 64-bit, so messages and single updates of any size give the RFC digest.
class CMD5Encrypt
{
public:
    // Starts with a fresh context, as after MD5Init.
    CMD5Encrypt();

    // Chaining register as a signed 32-bit decimal number ("1732584193", "-271733879").
    QString RegisterA() const;
    QString RegisterB() const;
    QString RegisterC() const;
    QString RegisterD() const;

    // Digest of the file's whole content, read in bounded chunks. Throws CipherError 53 when the
    // file does not exist, 75 when it cannot be opened, 57 when reading fails.
    QString DigestFileToHexStr(const QString &fileName);

    // Digest of the text's GBK bytes.
    QString DigestStrToHexStr(QStringView source);

    // The digest held in the registers as 32 upper-case hexadecimal digits.
    QString GetValues() const;

    // Resets the context: no bytes taken, registers at their initial values.
    void MD5Init();

    // Pads the message and appends its bit count; the registers then hold the digest.
    void MD5Final();

    // Takes the first byteCount bytes of bytes. Throws CipherError 9 when byteCount exceeds the
    // array, 5 when it is negative.
    void MD5Update(qint64 byteCount, QByteArrayView bytes);

    // Rotates value left by shiftCount mod 32 bit positions (not at all for zero or a negative
    // remainder); both arguments are left holding those values, and the value is returned.
    static qint32 LongLeftRotate(qint32 &value, qint32 &shiftCount);

private:
    QString registerText(int index) const;

    std::array<std::uint32_t, 4> m_registers;
    std::uint64_t m_byteCount = 0;
    std::array<unsigned char, 64> m_buffer{};
};

} // namespace Crypto
