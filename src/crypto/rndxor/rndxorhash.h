#pragma once

#include "crypto/io/fileoutcome.h"
#include "crypto/rndxor/prng.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

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

    // Enciphers the plain file's GBK text into the cipher file (ASCII hexadecimal). Writes
    // nothing when a file cannot be used, and after "<file> 不是文本文件" (warning) when the
    // plain file's bytes do not come back unchanged from GBK to text to GBK: such a file could
    // not be deciphered to what it was.
    FileOutcome FileEncrypt(const QString &plainFile, const QString &cipherFile, QStringView password);

    // Deciphers the cipher file into the plain file as GBK, with StringDecrypt's messages; the
    // plain file is written only when both checks pass.
    FileOutcome FileDecrypt(const QString &plainFile, const QString &cipherFile, QStringView password);

private:
    // The header of a ciphertext: salt, password check, plaintext check; leaves the generator
    // ready for the body.
    QString header(QStringView plaintextCheck, QStringView password);
    QString encipher(QStringView plaintext, QStringView password);
    // The plaintext, or nullopt after the message of the check that failed.
    std::optional<QString> decipher(QStringView ciphertext, QStringView password);
    // Where the opening of a ciphertext has got to.
    struct Opening
    {
        qsizetype seen = 0;  // units looked at; once the password passed, units done
        bool passed = false; // the password check
        Prng bodyStream;     // the XOR stream of the body
    };
    // Opens a ciphertext whose units arrive in order, units being all that have so far and
    // complete telling whether that is all: checks the password once the header is there (or
    // the text is complete), then deciphers each new body unit in place and runs the plaintext
    // check's first pass over it. false after "密码不正确！".
    bool openArrived(std::span<char16_t> units, bool complete, QStringView password, Opening &opening);
    // After openArrived() of the whole text: whether the body matches the header's plaintext
    // check; false after "密文被修改，完整性不正确！".
    bool plaintextCheckPasses(QStringView text);

    // Check value of s: K characters that depend on s and the key.
    QString keyedCheck(QStringView s);
    // keyedCheck(s) after its first pass, seedFromText({s, key}).
    QString checkAfterSeeding(QStringView s);
    // Puts the generator into a state that depends on the text alone.
    void seedFromText(std::initializer_list<QStringView> pieces);
    // Seeding steps for the units of piece: seedFromText() without its start.
    void absorb(QStringView piece);
    // s with every code unit XORed with the next 7-bit value of the generator.
    QString xorStream(QStringView s);
    // The same into out (s.size() units), which may be s itself.
    void xorInto(QStringView s, char16_t *out);

    qint16 m_keySize;
    QString m_key;
    Clock m_clock;
    Prng m_prng;
};

} // namespace Crypto
