#include "login/accountstore.h"

#include "login/loginform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Login {

namespace {

constexpr auto kSection = u"INFORMATION";
constexpr auto kKeepKey = u"保存账号";
constexpr auto kUserKey = u"USER";
constexpr auto kPassKey = u"PASS";
constexpr auto kAskKey = u"ASK";
constexpr auto kAnsKey = u"ANS";
constexpr int kBlockBits = 256;
constexpr int kKeyBits = 256;

const QString &cipherPassword()
{
    static const QString password = u"Quill"_s;
    return password;
}

// The text boxes keep a text up to its first U+0000: deciphered texts carry their zero padding.
QString upToFirstNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

// The number a text starts with, as the profile's readers take it: spaces, a sign, digits.
int leadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = (trimmed.startsWith(u'-') || trimmed.startsWith(u'+')) ? 1 : 0;
    while (end < trimmed.size() && end < 10 && trimmed[end].isDigit() && trimmed[end].unicode() < 128)
        ++end;
    return trimmed.left(end).toInt();
}

} // namespace

AccountStore::AccountStore(QString path) : m_ini(std::move(path)) {}

Crypto::cRijndael &AccountStore::cipher()
{
    if (!m_cipher)
        m_cipher.emplace();
    return *m_cipher;
}

QString AccountStore::encipher(const QString &text)
{
    return cipher().StringEncrypt(text, cipherPassword(), kBlockBits, kKeyBits);
}

QString AccountStore::decipher(const QString &stored)
{
    return cipher().StringDecrypt(stored, cipherPassword(), kBlockBits, kKeyBits);
}

SavedAccount AccountStore::load()
{
    SavedAccount account;
    if (!m_ini.read(kSection, kKeepKey).contains(u"是"))
        return account;
    account.user = m_ini.read(kSection, kUserKey);
    const QString pass = m_ini.read(kSection, kPassKey, LoginIni::ValueKind::Secret);
    if (!pass.isEmpty())
        account.password = upToFirstNul(decipher(pass));

    const QString ans = m_ini.read(kSection, kAnsKey, LoginIni::ValueKind::Secret);
    const int ask = leadingNumber(m_ini.read(kSection, kAskKey));
    if (ask != 0) {
        const QString answer = decipher(ans);
        // A number outside the list selects no question, as the list refuses it.
        if (!answer.isEmpty() && ask > 0 && ask <= kHighestQuestion) {
            account.question = ask;
            account.answer = upToFirstNul(answer);
        }
    }
    account.keep = true;
    return account;
}

std::array<AccountStore::StoredValue, 5> AccountStore::storedValues(const SavedAccount &account)
{
    using Kind = LoginIni::ValueKind;
    const bool keep = account.keep;
    const bool asked = keep && account.question != 0;
    return {{{kKeepKey, keep ? u"是"_s : u"否"_s, Kind::Profile},
             {kUserKey, keep ? account.user : QString(), Kind::Profile},
             {kPassKey, keep ? encipher(account.password) : QString(), Kind::Secret},
             {kAskKey, asked ? QString::number(account.question) : u"0"_s, Kind::Profile},
             {kAnsKey, asked ? encipher(account.answer) : QString(), Kind::Secret}}};
}

QString AccountStore::save(const SavedAccount &account)
{
    std::array<StoredValue, 5> values = storedValues(account);
    QString refusal;
    const auto keepsWhole = [](const StoredValue &stored) { return LoginIni::keepsWhole(stored.value, stored.kind); };
    if (!std::all_of(values.begin(), values.end(), keepsWhole)) {
        refusal = u"账号信息过长或含有无法保存的字符，未能记住该账号"_s;
        values = storedValues(SavedAccount{});
    }
    for (const StoredValue &stored : values)
        m_ini.write(kSection, stored.key, stored.value, stored.kind);
    return refusal;
}

QString loginIniPath(const QString &explicitPath)
{
    if (!explicitPath.isEmpty())
        return explicitPath;
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!programFolder.isEmpty() && QFileInfo(programFolder).isWritable())
        return QDir(programFolder).filePath(u"login.ini"_s);
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(u"login.ini"_s);
}

} // namespace Login
