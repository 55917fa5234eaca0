#include "crypto/aes/rijndael.h"

#include "crypto/messagesink.h"
#include "crypto/aes/rijndaelaesni.h"
#include "crypto/aes/rijndaelerror.h"
#include "crypto/aes/rijndaelvaes.h"
#include "text/gbk.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace Crypto {

using Rijndael::BlockBytes;

namespace {

constexpr qsizetype PasswordKeyBytes = 32;

bool leavesWholeBlock(std::size_t size, qsizetype offset)
{
    return offset >= 0 && std::size_t(offset) <= size && size - std::size_t(offset) >= BlockBytes;
}

std::uint8_t *bytes(QByteArray &array)
{
    return reinterpret_cast<std::uint8_t *>(array.data());
}

const std::uint8_t *bytes(const QByteArray &array)
{
    return reinterpret_cast<const std::uint8_t *>(array.constData());
}

} // namespace

cRijndael::Engine cRijndael::bestEngine()
{
    for (const Engine engine : {Engine::Vaes512, Engine::Vaes256, Engine::Hardware})
        if (engineAvailable(engine))
            return engine;
    return Engine::Portable;
}

bool cRijndael::engineAvailable(Engine engine)
{
    switch (engine) {
    case Engine::Portable:
        return true;
    case Engine::Hardware:
        return Rijndael::aesNiAvailable();
    case Engine::Vaes256:
        return Rijndael::vaes256Available();
    case Engine::Vaes512:
        return Rijndael::vaes512Available();
    }
    return false;
}

namespace {

struct BlockFunctions
{
    Rijndael::BlockFunction encrypt;
    Rijndael::BlockFunction decrypt;
};

BlockFunctions blockFunctions(cRijndael::Engine engine)
{
    using Engine = cRijndael::Engine;
    switch (engine) {
    case Engine::Hardware:
        return {Rijndael::encryptBlocksAesNi, Rijndael::decryptBlocksAesNi};
    case Engine::Vaes256:
        return {Rijndael::encryptBlocksVaes256, Rijndael::decryptBlocksVaes256};
    case Engine::Vaes512:
        return {Rijndael::encryptBlocksVaes512, Rijndael::decryptBlocksVaes512};
    case Engine::Portable:
        break;
    }
    return {Rijndael::encryptBlocksPortable, Rijndael::decryptBlocksPortable};
}

} // namespace

cRijndael::cRijndael(Engine engine)
    : m_engine(engineAvailable(engine) ? engine : Engine::Portable)
    , m_encryptBlocks(blockFunctions(m_engine).encrypt)
    , m_decryptBlocks(blockFunctions(m_engine).decrypt)
{
}

void cRijndael::requireKey(const char *operation) const
{
    if (m_schedule.rounds == 0)
        raiseRijndaelError(1, operation, u"no cipher key set"_s);
}

int cRijndael::SetCipherKey(QByteArrayView key, int keyBits)
{
    if (Rijndael::roundsForKeyBits(keyBits) == 0)
        raiseRijndaelError(1, "SetCipherKey", u"Illegal KeyBits Value"_s);
    if (key.size() < keyBits / 8)
        raiseRijndaelError(1, "SetCipherKey", u"key array shorter than KeyBits / 8 bytes"_s);
    Rijndael::expandKey(m_schedule, reinterpret_cast<const std::uint8_t *>(key.data()), keyBits);
    makeDecryptKeys();
    return 0;
}

int cRijndael::SetCipherKeyString(const QString &passPhrase, int keyBits)
{
    return SetCipherKey(passwordToKey(passPhrase), keyBits);
}

void cRijndael::makeDecryptKeys()
{
    Rijndael::makeDecryptKeys(m_schedule);
}

QByteArray cRijndael::passwordToKey(const QString &password)
{
    return Text::toGbk(password).leftJustified(PasswordKeyBytes, '\0', true);
}

void cRijndael::BlockEncrypt(std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> ciphertext,
                             qsizetype plaintextOffset, qsizetype ciphertextOffset) const
{
    requireKey("BlockEncrypt");
    if (!leavesWholeBlock(plaintext.size(), plaintextOffset))
        raiseRijndaelError(1, "BlockEncrypt", u"plaintext offset leaves fewer than 16 bytes"_s);
    if (!leavesWholeBlock(ciphertext.size(), ciphertextOffset))
        raiseRijndaelError(1, "BlockEncrypt", u"ciphertext offset leaves fewer than 16 bytes"_s);
    // Through a local block, so input and output may overlap in any way.
    std::uint8_t block[BlockBytes];
    std::memcpy(block, plaintext.data() + plaintextOffset, BlockBytes);
    m_encryptBlocks(m_schedule, block, block, 1);
    std::memcpy(ciphertext.data() + ciphertextOffset, block, BlockBytes);
}

void cRijndael::BlockDecrypt(std::span<std::uint8_t> plaintext, std::span<const std::uint8_t> ciphertext,
                             qsizetype plaintextOffset, qsizetype ciphertextOffset) const
{
    requireKey("BlockDecrypt");
    if (!leavesWholeBlock(plaintext.size(), plaintextOffset))
        raiseRijndaelError(1, "BlockDecrypt", u"plaintext offset leaves fewer than 16 bytes"_s);
    if (!leavesWholeBlock(ciphertext.size(), ciphertextOffset))
        raiseRijndaelError(1, "BlockDecrypt", u"ciphertext offset leaves fewer than 16 bytes"_s);
    std::uint8_t block[BlockBytes];
    std::memcpy(block, ciphertext.data() + ciphertextOffset, BlockBytes);
    m_decryptBlocks(m_schedule, block, block, 1);
    std::memcpy(plaintext.data() + plaintextOffset, block, BlockBytes);
}

int cRijndael::ArrayEncrypt(const QByteArray &plaintext, QByteArray &ciphertext, bool lengthField) const
{
    requireKey("ArrayEncrypt");
    const qsizetype n = plaintext.size();
    const qsizetype whole = n - n % BlockBytes;
    const qsizetype length = lengthField ? whole + BlockBytes : (n + BlockBytes - 1) / BlockBytes * BlockBytes;
    // Built aside and moved in at the end: plaintext and ciphertext may be the same array.
    QByteArray out(length, Qt::Uninitialized);
    m_encryptBlocks(m_schedule, bytes(plaintext), bytes(out), std::size_t(whole / BlockBytes));
    if (length > whole) {
        std::uint8_t *last = bytes(out) + whole;
        std::memset(last, 0, BlockBytes);
        std::memcpy(last, bytes(plaintext) + whole, std::size_t(n - whole));
        if (lengthField)
            last[BlockBytes - 1] = static_cast<std::uint8_t>(n % BlockBytes);
        m_encryptBlocks(m_schedule, last, last, 1);
    }
    ciphertext = std::move(out);
    return 0;
}

int cRijndael::ArrayDecrypt(QByteArray &plaintext, const QByteArray &ciphertext, bool lengthField) const
{
    requireKey("ArrayDecrypt");
    const qsizetype length = ciphertext.size();
    // Without a last block there is no length field to read.
    if (length % BlockBytes != 0 || (lengthField && length == 0)) {
        showMessage(u"ciphertext size not a multiple of block size"_s);
        return -1;
    }
    QByteArray out(length, Qt::Uninitialized);
    m_decryptBlocks(m_schedule, bytes(ciphertext), bytes(out), std::size_t(length / BlockBytes));
    int result = 0;
    if (lengthField) {
        const std::uint8_t field = bytes(out)[length - 1];
        if (field < BlockBytes) {
            out.truncate(length - BlockBytes + field);
        } else {
            showMessage(u"warning - incorrect length field"_s);
            result = 1;
        }
    }
    plaintext = std::move(out);
    return result;
}

void cRijndael::encryptInPlace(QByteArray &buffer, qsizetype byteCount) const
{
    m_encryptBlocks(m_schedule, bytes(buffer), bytes(buffer), std::size_t(byteCount / BlockBytes));
}

void cRijndael::decryptInPlace(QByteArray &buffer, qsizetype byteCount) const
{
    m_decryptBlocks(m_schedule, bytes(buffer), bytes(buffer), std::size_t(byteCount / BlockBytes));
}

} // namespace Crypto
