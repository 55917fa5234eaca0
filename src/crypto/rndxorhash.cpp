#include "crypto/rndxorhash.h"

#include "crypto/filebytes.h"
#include "crypto/messagesink.h"
#include "crypto/mtransform.h"
#include "crypto/quietly.h"
#include "text/gbk.h"

#include <algorithm>
#include <cmath>

namespace Crypto {

namespace {

constexpr qint16 kDefaultKeySize = 8;

QString defaultKey()
{
    return QStringLiteral("57319864");
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

void CRndXorHash::FileEncrypt(const QString &plainFile, const QString &cipherFile, QStringView password)
{
    quietly([&] {
        const std::optional<QByteArray> plain = readFileBytes(plainFile);
        if (!plain)
            return;
        writeFileBytes(cipherFile, encipher(Text::fromGbk(*plain), password).toLatin1());
    });
}

void CRndXorHash::FileDecrypt(const QString &plainFile, const QString &cipherFile, QStringView password)
{
    quietly([&] {
        const std::optional<QByteArray> cipher = readFileBytes(cipherFile);
        if (!cipher)
            return;
        if (const std::optional<QString> plaintext = decipher(Text::fromGbk(*cipher), password))
            writeFileBytes(plainFile, Text::toGbk(*plaintext));
    });
}

QString CRndXorHash::encipher(QStringView plaintext, QStringView password)
{
    const QString salt = KeyedCheck(dateTimeText(m_clock()));
    const QString header = salt + KeyedCheck(QString(salt + password)) + KeyedCheck(plaintext);
    SeedFromText(header);
    return MTransform::STR_to_HEX2(QString(header + XorStream(plaintext)));
}

std::optional<QString> CRndXorHash::decipher(QStringView ciphertext, QStringView password)
{
    const QString text = MTransform::HEX_to_STR2(ciphertext);
    const qsizetype k = m_keySize;
    const QStringView header = QStringView(text).left(3 * k);
    const QStringView salt = header.left(k);
    const QStringView plaintextCheck = header.sliced(std::min(2 * k, header.size()));

    // The password check must be found first at its own place, not merely somewhere in the header.
    if (header.indexOf(KeyedCheck(QString(salt + password))) != k) {
        showMessage(QStringLiteral("密码不正确！"), MessageIcon::Critical);
        return std::nullopt;
    }
    SeedFromText(header);
    QString plaintext = XorStream(QStringView(text).sliced(header.size()));
    if (KeyedCheck(plaintext) != plaintextCheck) {
        showMessage(QStringLiteral("密文被修改，完整性不正确！"), MessageIcon::Warning);
        return std::nullopt;
    }
    return plaintext;
}

QString CRndXorHash::KeyedCheck(QStringView s)
{
    const QString keyed = s + m_key;
    SeedFromText(keyed);
    const QString scrambled = XorStream(keyed);
    SeedFromText(scrambled);
    return XorStream(m_key);
}

void CRndXorHash::SeedFromText(QStringView s)
{
    m_prng.reseed(m_prng.draw(-1));
    for (QChar unit : s) {
        const auto c = static_cast<qint16>(unit.unicode());
        const double r = m_prng.draw();
        const double m = m_prng.draw(-r * c);
        m_prng.reseed(std::nearbyint(m));
    }
}

QString CRndXorHash::XorStream(QStringView s)
{
    QString result(s.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (QChar unit : s)
        *out++ = unit.unicode() ^ static_cast<char16_t>(128 * m_prng.draw());
    return result;
}

} // namespace Crypto
