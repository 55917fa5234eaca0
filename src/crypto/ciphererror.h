#pragma once

#include <QString>

#include <exception>

namespace Crypto {

// The one exception of the program: an error that a cipher class raises to its caller, with
// the class's error number and description ("cRijndael.SetCipherKey - Illegal KeyBits Value").
class CipherError : public std::exception
{
public:
    CipherError(int number, QString description)
        : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
    {
    }

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace Crypto
