#include "crypto/rndxor/rndxorhash.h"

#include "crypto/io/filestreams.h"
#include "crypto/messagesink.h"
#include "crypto/rndxor/mtransform.h"
#include "crypto/quietly.h"
#include "crypto/rndxor/rndxorfilereading.h"
#include "text/gbk.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <future>
#include <vector>

using namespace Qt::StringLiterals;

namespace Crypto {

namespace {

constexpr qint16 kDefaultKeySize = 8;

QString defaultKey()
{
    return u"57319864"_s;
}

// The 94 printable ASCII characters in a fixed shuffled order. Keys index it by (a AND 93), so
// a generated key repeats with period 128 and draws on 32 of the entries.
constexpr char kKeyTable[] = R"(SYGF9[')tc6?!\{CZeJ14K2bj<WM5&3|87nV]_*XfysREAaD%uOi}w,/m`x$:-.hLvr~"@(qo+#BP=^>gIk;zlpU0dNTHQ)";
static_assert(sizeof kKeyTable - 1 == 94);

QString generatedKey(qint16 size)
{
    QString key(size, Qt::Uninitialized);
    for (qint16 a = 0; a < size; ++a)
        key[a] = QLatin1Char(kKeyTable[a & 93]);
    return key;
}

// Code units of a file's text per piece of the carrier form written at once.
constexpr qsizetype kPieceUnits = 1 << 16;

// Code units of the XOR stream that a check value's second pass seeds from at a time.
constexpr std::size_t kScrambledUnits = 4096;

void startSeeding(Prng &prng)
{
    prng.reseed(prng.draw(-1));
}

QString dateTimeText(const QDateTime &moment)
{
    return moment.date().toString(Qt::ISODate) + moment.time().toString(u"HH:mm:ss");
}

} // namespace

CRndXorHash::CRndXorHash()
    : m_keySize(kDefaultKeySize), m_key(defaultKey()), m_clock([] { return QDateTime::currentDateTime(); })
{
}

qint16 CRndXorHash::keySize() const
{
    return m_keySize;
}

void CRndXorHash::setKeySize(qint16 size)
{
    m_keySize = size < 1 ? kDefaultKeySize : size;
    m_key = generatedKey(m_keySize);
}

void CRndXorHash::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

QString CRndXorHash::StringEncrypt(QStringView plaintext, QStringView password)
{
    return quietly([&] { return encipher(plaintext, password); });
}

QString CRndXorHash::StringDecrypt(QStringView ciphertext, QStringView password)
{
    return quietly([&] {
        return decipher(ciphertext, password).value_or(QString());
    });
}

FileOutcome CRndXorHash::FileEncrypt(const QString &plainFile, const QString &cipherFile, QStringView password)
{
    return quietly([&] {
        FileStreams files(plainFile, cipherFile);
        if (!files.open())
            return files.outcome();
        // The first pass of the plaintext check runs over the text as it arrives.
        bool survivesGbk = true;
        UnitsReader reader(files, plainTextCapacity(files), [&](FileStreams &input, UnitsReader &units) {
            return readPlainText(input, units, survivesGbk);
        });
        startSeeding(m_prng);
        qsizetype seeded = 0;
        for (std::span<char16_t> units; std::ssize(units = reader.arrived(seeded)) > seeded; seeded = std::ssize(units))
            absorb(units.subspan(std::size_t(seeded)));
        const std::optional<QString> plaintext = reader.finish();
        if (!plaintext)
            return files.outcome();
        if (!survivesGbk) {
            showMessage(QDir::toNativeSeparators(plainFile) + u" 不是文本文件"_s, MessageSeverity::Warning);
            return FileOutcome::told();
        }
        absorb(QStringView(*plaintext).sliced(seeded));
        absorb(m_key);
        const QString plaintextCheck = checkAfterSeeding(*plaintext);

        // The carrier form goes out in pieces: as a whole it would be twelve times the text.
        std::vector<char16_t> units(kPieceUnits);
        std::vector<char> hex(6 * kPieceUnits);
        const auto writeHex = [&](QStringView text, bool enciphered) {
            for (qsizetype at = 0; at < text.size(); at += kPieceUnits) {
                QStringView piece = text.sliced(at, std::min(kPieceUnits, text.size() - at));
                if (enciphered) {
                    xorInto(piece, units.data());
                    piece = QStringView(units.data(), piece.size());
                }
                MTransform::writeHex2(piece, hex.data());
                if (!files.write(hex.data(), 6 * piece.size()))
                    return false;
            }
            return true;
        };
        if (!writeHex(header(plaintextCheck, password), false) || !writeHex(*plaintext, true))
            return files.outcome();
        files.commit();
        return files.outcome();
    });
}

FileOutcome CRndXorHash::FileDecrypt(const QString &plainFile, const QString &cipherFile, QStringView password)
{
    return quietly([&] {
        FileStreams files(cipherFile, plainFile);
        if (!files.open())
            return files.outcome();
        // The password is checked as soon as the header is there; then the body is deciphered,
        // and the plaintext check's first pass run over it, as it arrives.
        UnitsReader reader(files, carrierCapacity(files), readCarrierUnits);
        Opening opening;
        for (std::span<char16_t> units; std::ssize(units = reader.arrived(opening.seen)) > opening.seen;)
            if (!openArrived(units, false, password, opening))
                return FileOutcome::told();
        std::optional<QString> carried = reader.finish();
        if (!carried)
            return files.outcome();
        const std::span<char16_t> units(reinterpret_cast<char16_t *>(carried->data()), std::size_t(carried->size()));
        if (!openArrived(units, true, password, opening))
            return FileOutcome::told();
        const QStringView text(units.data(), qsizetype(units.size()));
        const QStringView plaintext = text.sliced(std::min<qsizetype>(text.size(), 3 * m_keySize));
        // The part file takes the plaintext while the check value is computed; it replaces the
        // plain file only when the check passes.
        auto writing = std::async(std::launch::async, [&] {
            return Text::toGbkPieces(plaintext, [&](QByteArrayView piece) { return files.write(piece.data(), piece.size()); });
        });
        const bool intact = plaintextCheckPasses(text);
        const bool written = writing.get();
        if (!intact)
            return FileOutcome::told();
        if (!written)
            return files.outcome();
        files.commit();
        return files.outcome();
    });
}

QString CRndXorHash::header(QStringView plaintextCheck, QStringView password)
{
    const QString salt = keyedCheck(dateTimeText(m_clock()));
    QString header = salt + keyedCheck(QString(salt + password)) + plaintextCheck;
    seedFromText({header});
    return header;
}

QString CRndXorHash::encipher(QStringView plaintext, QStringView password)
{
    const QString head = header(keyedCheck(plaintext), password);
    return MTransform::STR_to_HEX2(QString(head + xorStream(plaintext)));
}

std::optional<QString> CRndXorHash::decipher(QStringView ciphertext, QStringView password)
{
    QString text = MTransform::HEX_to_STR2(ciphertext);
    Opening opening;
    if (!openArrived({reinterpret_cast<char16_t *>(text.data()), std::size_t(text.size())}, true, password, opening)
        || !plaintextCheckPasses(text))
        return std::nullopt;
    text.remove(0, std::min<qsizetype>(text.size(), 3 * m_keySize));
    return text;
}

bool CRndXorHash::openArrived(std::span<char16_t> units, bool complete, QStringView password, Opening &opening)
{
    const qsizetype k = m_keySize;
    if (!opening.passed) {
        if (!complete && std::ssize(units) < 3 * k) {
            opening.seen = std::ssize(units);
            return true;
        }
        const QStringView header = QStringView(units.data(), qsizetype(units.size())).left(3 * k);
        const QStringView salt = header.left(k);
        // The password check must be found first at its own place, not merely somewhere in the header.
        if (header.indexOf(keyedCheck(QString(salt + password))) != k) {
            showMessage(u"密码不正确！"_s, MessageSeverity::Critical);
            return false;
        }
        seedFromText({header});
        opening.bodyStream = m_prng;
        startSeeding(m_prng);
        opening.passed = true;
        opening.seen = header.size();
    }
    const std::span<char16_t> fresh = units.subspan(std::size_t(opening.seen));
    opening.bodyStream.xorUnits(fresh, fresh.data());
    absorb(fresh);
    opening.seen = std::ssize(units);
    return true;
}

bool CRndXorHash::plaintextCheckPasses(QStringView text)
{
    absorb(m_key);
    const QStringView header = text.left(3 * m_keySize);
    if (checkAfterSeeding(text.sliced(header.size())) != header.sliced(std::min<qsizetype>(2 * m_keySize, header.size()))) {
        showMessage(u"密文被修改，完整性不正确！"_s, MessageSeverity::Warning);
        return false;
    }
    return true;
}

// seedFromText(s + key), then the XOR stream over s + key seeds the generator that makes the
// check from the key. Both passes run over the two pieces: s may be a whole file.
QString CRndXorHash::keyedCheck(QStringView s)
{
    seedFromText({s, m_key});
    return checkAfterSeeding(s);
}

QString CRndXorHash::checkAfterSeeding(QStringView s)
{
    Prng scrambledSeed;
    startSeeding(scrambledSeed);
    std::array<char16_t, kScrambledUnits> scrambled;
    for (QStringView piece : {s, QStringView(m_key)})
        for (qsizetype at = 0; at < piece.size(); at += kScrambledUnits) {
            const QStringView part = piece.sliced(at, std::min<qsizetype>(kScrambledUnits, piece.size() - at));
            xorInto(part, scrambled.data());
            scrambledSeed.absorb({scrambled.data(), std::size_t(part.size())});
        }
    m_prng = scrambledSeed;
    return xorStream(m_key);
}

void CRndXorHash::seedFromText(std::initializer_list<QStringView> pieces)
{
    startSeeding(m_prng);
    for (QStringView piece : pieces)
        absorb(piece);
}

void CRndXorHash::absorb(QStringView piece)
{
    m_prng.absorb({reinterpret_cast<const char16_t *>(piece.utf16()), std::size_t(piece.size())});
}

QString CRndXorHash::xorStream(QStringView s)
{
    QString result(s.size(), Qt::Uninitialized);
    xorInto(s, reinterpret_cast<char16_t *>(result.data()));
    return result;
}

void CRndXorHash::xorInto(QStringView s, char16_t *out)
{
    m_prng.xorUnits({reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size())}, out);
}

} // namespace Crypto
