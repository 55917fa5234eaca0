// The file forms of cRijndael: the array form with the length field, streamed in chunks so that
// memory stays bounded whatever the file size.

#include "crypto/aes/rijndael.h"

#include "crypto/io/filestreams.h"
#include "crypto/messagesink.h"
#include "crypto/aes/rijndaelerror.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>

using namespace Qt::StringLiterals;

namespace Crypto {

using Rijndael::BlockBytes;

namespace {

constexpr qint64 ChunkBytes = 4'000'000; // 250,000 blocks
constexpr int FileNotFound = 53;
constexpr int FileAccessError = 75;

[[noreturn]] void raiseAccessError(const char *operation, const QFileDevice &file)
{
    raiseRijndaelError(FileAccessError, operation,
                       u"Path/File access error: "_s + file.fileName() + u" ("_s + file.errorString() + u')');
}

void openInput(QFile &file, const char *operation)
{
    if (!file.exists())
        raiseRijndaelError(FileNotFound, operation, u"File not found: "_s + file.fileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        raiseAccessError(operation, file);
}

// The output goes to a temporary file that replaces the old one only when complete: no stale
// bytes of a longer old file stay behind, a failure leaves the old file as it was, and a file
// enciphered onto itself is read whole before it is replaced.
void openOutput(QSaveFile &file, const char *operation)
{
    if (!file.open(QIODevice::WriteOnly))
        raiseAccessError(operation, file);
}

void writeAll(QSaveFile &file, const char *data, qint64 count, const char *operation)
{
    if (file.write(data, count) != count)
        raiseAccessError(operation, file);
}

void commit(QSaveFile &file, const char *operation)
{
    if (!file.commit())
        raiseAccessError(operation, file);
}

} // namespace

int cRijndael::FileEncrypt(const QString &plainFile, const QString &cipherFile) const
{
    const char *operation = "FileEncrypt";
    requireKey(operation);
    QFile in(plainFile);
    openInput(in, operation);
    QSaveFile out(cipherFile);
    openOutput(out, operation);

    // Read to the end, whatever size the system reports: a pipe or a FIFO reports 0. A full
    // chunk is whole blocks; the first short one ends the input and takes the zero padding and
    // the length byte (a whole zero block after a full chunk).
    QByteArray buffer(ChunkBytes, Qt::Uninitialized);
    char *data = buffer.data();
    for (;;) {
        const qint64 got = readFull(in, data, ChunkBytes);
        if (got < 0)
            raiseAccessError(operation, in);
        if (got == ChunkBytes) {
            encryptInPlace(buffer, ChunkBytes);
            writeAll(out, data, ChunkBytes, operation);
            continue;
        }
        const qint64 last = BlockBytes * (got / BlockBytes + 1);
        std::memset(data + got, 0, std::size_t(last - got));
        data[last - 1] = static_cast<char>(got % BlockBytes);
        encryptInPlace(buffer, last);
        writeAll(out, data, last, operation);
        break;
    }
    commit(out, operation);
    return 0;
}

int cRijndael::FileDecrypt(const QString &plainFile, const QString &cipherFile) const
{
    const char *operation = "FileDecrypt";
    requireKey(operation);
    QFile in(cipherFile);
    openInput(in, operation);
    const auto sizeError = [] {
        showMessage(u"File Size Error - ciphertext file not a multiple of block size"_s);
        return 1;
    };
    // A file's size is known before any output is opened; a pipe's only at its end.
    if (!in.isSequential() && (in.size() == 0 || in.size() % BlockBytes != 0))
        return sizeError();
    QSaveFile out(plainFile);
    openOutput(out, operation);

    // Read to the end, whatever size the system reports. The last block holds the length field,
    // so each full chunk keeps its last block back for the next read until the input ends.
    QByteArray buffer(ChunkBytes, Qt::Uninitialized);
    char *data = buffer.data();
    qint64 held = 0;
    for (;;) {
        const qint64 got = readFull(in, data + held, ChunkBytes - held);
        if (got < 0)
            raiseAccessError(operation, in);
        const qint64 filled = held + got;
        if (filled < ChunkBytes) {
            if (filled == 0 || filled % BlockBytes != 0)
                return sizeError(); // the part file is dropped: the old plain file stays
            decryptInPlace(buffer, filled);
            qint64 length = filled;
            const auto field = static_cast<std::uint8_t>(data[filled - 1]);
            if (field < BlockBytes)
                length -= BlockBytes - field;
            else
                showMessage(u"warning - incorrect length field in decrypted file.\r\nWrong key or keysize?"_s);
            writeAll(out, data, length, operation);
            commit(out, operation);
            return 0;
        }
        decryptInPlace(buffer, ChunkBytes - BlockBytes);
        writeAll(out, data, ChunkBytes - BlockBytes, operation);
        std::memmove(data, data + ChunkBytes - BlockBytes, BlockBytes);
        held = BlockBytes;
    }
}

void cRijndael::FileEncryptSimple(const QString &plainFile, const QString &cipherFile, const QString &password,
                                  int, int keyBits)
{
    SetCipherKeyString(password, keyBits);
    FileEncrypt(plainFile, cipherFile);
}

void cRijndael::FileDecryptSimple(const QString &plainFile, const QString &cipherFile, const QString &password,
                                  int, int keyBits)
{
    SetCipherKeyString(password, keyBits);
    FileDecrypt(plainFile, cipherFile);
}

} // namespace Crypto
