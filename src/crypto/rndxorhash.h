#pragma once

#include "crypto/prng.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace Crypto {

// A text cipher of our own: every UTF-16 code unit is XORed with a 7-bit pseudo-random value
// under a header of three K-unit check values (salt from the date and time, salt + password,
// plaintext), carried as MTransform::STR_to_HEX2 text of 6 × (3K + n) characters. Deciphering
// tells a wrong password from a changed ciphertext; the two messages go through
// Crypto::showMessage. Every other failure ends quietly with the empty result.
class CRndXorHash
{
public:
    // Source of the moment whose date and time texts salt a ciphertext.
    using Clock = std::function<QDateTime()>;

    // Key length 8 with the default key, the system clock.
    CRndXorHash();

    // The key length K: characters of the key, of each check value and of the salt.
    qint16 keySize() const;
    // Sets K (8 when below 1) and replaces the key by the one generated for that length.
    void setKeySize(qint16 size);

    // Replaces the clock; ciphertexts made within the same second of it are equal.
    void setClock(Clock clock);

    // Hexadecimal ciphertext of plaintext under password; "" on failure.
    QString StringEncrypt(QStringView plaintext, QStringView password);

    // The plaintext, or "" after "密码不正确！" (critical) for a wrong password,
    // "密文被修改，完整性不正确！" (warning) for a changed ciphertext, or a quiet failure.
    QString StringDecrypt(QStringView ciphertext, QStringView password);

    // Enciphers the plain file's GBK text into the cipher file (ASCII hexadecimal); writes
    // nothing when the plain file cannot be read.
    void FileEncrypt(const QString &plainFile, const QString &cipherFile, QStringView password);

    // Deciphers the cipher file into the plain file as GBK, with StringDecrypt's messages; the
    // plain file is written only when both checks pass.
    void FileDecrypt(const QString &plainFile, const QString &cipherFile, QStringView password);

private:
    QString encipher(QStringView plaintext, QStringView password);
    // The plaintext, or nullopt after the message of the check that failed.
    std::optional<QString> decipher(QStringView ciphertext, QStringView password);

    // Check value of s: K characters that depend on s and the key.
    QString KeyedCheck(QStringView s);
    // Puts the generator into a state that depends on s alone.
    void SeedFromText(QStringView s);
    // s with every code unit XORed with the next 7-bit value of the generator.
    QString XorStream(QStringView s);

    qint16 m_keySize;
    QString m_key;
    Clock m_clock;
    Prng m_prng;
};

} // namespace Crypto
