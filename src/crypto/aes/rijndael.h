#pragma once

#include "crypto/aes/rijndaelkernel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <span>

namespace Crypto {

// AES (FIPS-197: 128-bit blocks, 128/192/256-bit keys) in electronic-codebook use, with the
// class's own array, file and hexadecimal text forms. One key at a time per object.
//
// Raised errors are CipherError: number 1 for the class's own ("cRijndael.Operation - text"),
// 53 for a missing input file and 75 for a file that cannot be opened, read or written.
// Warnings (bad sizes, bad length fields, non-hexadecimal text) go through showMessage().
class cRijndael
{
public:
    // Portable is the table-driven path; Hardware uses the processor's AES instructions on one
    // block per register, Vaes256 and Vaes512 its vector AES instructions on two and four.
    enum class Engine { Portable, Hardware, Vaes256, Vaes512 };

    // The widest engine the processor has.
    static Engine bestEngine();
    // Whether the processor running this build has the engine's instructions.
    static bool engineAvailable(Engine engine);

    // A request for an engine the processor lacks runs Portable; engine() tells.
    explicit cRijndael(Engine engine = bestEngine());

    Engine engine() const { return m_engine; }

    // Sets the key from the first keyBits / 8 bytes; returns 0. Error 1 for keyBits other than
    // 128, 192, 256 or fewer key bytes than that; the previous key then stays.
    int SetCipherKey(QByteArrayView key, int keyBits);
    // Sets the key from the pass phrase's GBK bytes (cut or zero-extended to 32); as SetCipherKey.
    int SetCipherKeyString(const QString &passPhrase, int keyBits);

    // Enciphers the 16 bytes at plaintextOffset into ciphertext at ciphertextOffset; the two may be
    // the same bytes. Error 1 without a key or when an offset leaves fewer than 16 bytes.
    void BlockEncrypt(std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> ciphertext,
                      qsizetype plaintextOffset, qsizetype ciphertextOffset) const;
    // The inverse of BlockEncrypt, with the same contract.
    void BlockDecrypt(std::span<std::uint8_t> plaintext, std::span<const std::uint8_t> ciphertext,
                      qsizetype plaintextOffset, qsizetype ciphertextOffset) const;

    // Replaces ciphertext with the zero-padded enciphered plaintext; with lengthField the last
    // byte of the padding holds plaintext length mod 16 (always at least one padding byte).
    // Returns 0; error 1 without a key.
    int ArrayEncrypt(const QByteArray &plaintext, QByteArray &ciphertext, bool lengthField) const;
    // Replaces plaintext with the deciphered ciphertext, cut by the length field when on.
    // Returns 0; -1 with a message when the size is not a multiple of 16, or is 0 with the length
    // field on (plaintext untouched); 1 with a message when the length field is above 15 (all
    // bytes kept). Error 1 without a key.
    int ArrayDecrypt(QByteArray &plaintext, const QByteArray &ciphertext, bool lengthField) const;

    // Writes to cipherFile what ArrayEncrypt with the length field makes of plainFile, in
    // 4,000,000-byte chunks; an existing cipherFile is replaced. Returns 0. Error 1 without a key,
    // 53 when plainFile is missing, 75 when a file cannot be opened, read or written.
    int FileEncrypt(const QString &plainFile, const QString &cipherFile) const;
    // Deciphers cipherFile, read to its end (a pipe or a FIFO too), into plainFile, cut by the
    // length field. Returns 0, also after the length-field warning (then nothing is cut); 1
    // with a message when the size is 0 or not a multiple of 16, plainFile left as it was (a
    // file's size is checked before plainFile is opened, a pipe's at its end). Errors as
    // FileEncrypt.
    int FileDecrypt(const QString &plainFile, const QString &cipherFile) const;

    // Sets the key from password, enciphers the GBK bytes of source zero-padded and returns
    // upper-case hexadecimal in groups of blockBits / 8 bytes separated by two spaces; an empty
    // source gives an empty text. Error 1 for blockBits below 8 or an illegal keyBits.
    QString StringEncrypt(const QString &source, const QString &password, int blockBits, int keyBits);
    // Deciphers the hexadecimal digits of source (any other character skipped) with the key from
    // password; the text keeps its zero padding as U+0000. Empty text with a message when source
    // holds no hexadecimal byte (the key then stays) or a byte count not a multiple of 16.
    QString StringDecrypt(const QString &source, const QString &password, int blockBits, int keyBits);

    // Sets the key from password and runs FileEncrypt / FileDecrypt; blockBits is not used.
    void FileEncryptSimple(const QString &plainFile, const QString &cipherFile, const QString &password,
                           int blockBits, int keyBits);
    void FileDecryptSimple(const QString &plainFile, const QString &cipherFile, const QString &password,
                           int blockBits, int keyBits);

private:
    void makeDecryptKeys();
    void requireKey(const char *operation) const;
    // Transform the first byteCount bytes (whole blocks) of buffer in place.
    void encryptInPlace(QByteArray &buffer, qsizetype byteCount) const;
    void decryptInPlace(QByteArray &buffer, qsizetype byteCount) const;

    static QByteArray passwordToKey(const QString &password);
    static QString bytesToHexText(QByteArrayView bytes, qsizetype groupSize);
    static QByteArray hexTextToBytes(QStringView text);

    Engine m_engine;
    Rijndael::BlockFunction m_encryptBlocks;
    Rijndael::BlockFunction m_decryptBlocks;
    Rijndael::KeySchedule m_schedule;
};

} // namespace Crypto
