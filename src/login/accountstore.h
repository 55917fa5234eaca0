#pragma once

#include "crypto/aes/rijndael.h"
#include "login/loginini.h"

#include <QString>

#include <array>
#include <optional>

// The remembered account in login.ini, section "INFORMATION": the keep flag, the account, the
// password and the security answer enciphered under a fixed key, and the question's number.
namespace Login {

struct SavedAccount
{
    bool keep = false; // "保存账号信息" is ticked
    QString user;
    QString password;
    int question = 0; // 0: no security question
    QString answer;

    bool operator==(const SavedAccount &) const = default;
};

class AccountStore
{
public:
    explicit AccountStore(QString path);

    // The account to show when the login window opens. Nothing is filled (keep false) unless the
    // keep flag holds "是". A PASS or ANS value that does not decipher shows the cipher's message
    // through Crypto's message sink and gives an empty text; the rest still loads.
    SavedAccount load();

    // Remembers account after a successful login, or clears the file's account when keep is
    // false. Each of the five keys is one write; a write that fails is skipped. An account the
    // file would not give back as typed (a line break or NUL, a character outside GBK, a name
    // over 254 GBK bytes) is not remembered: the file's account is cleared instead and the
    // returned text says why. Empty when the account was taken as asked.
    QString save(const SavedAccount &account);

private:
    struct StoredValue
    {
        QStringView key;
        QString value;
        LoginIni::ValueKind kind;
    };
    std::array<StoredValue, 5> storedValues(const SavedAccount &account);

    Crypto::cRijndael &cipher();
    QString encipher(const QString &text);
    QString decipher(const QString &stored);

    LoginIni m_ini;
    std::optional<Crypto::cRijndael> m_cipher; // made on first use
};

// Where login.ini lives: explicitPath when given; else beside the program when that folder is
// writable; else in the user's configuration folder.
QString loginIniPath(const QString &explicitPath);

} // namespace Login
