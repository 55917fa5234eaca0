#pragma once

#include "crypto/ciphererror.h"

#include <QString>

#include <functional>

// "number description" of the CipherError that f raises, or "nothing raised".
inline QString raisedBy(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Crypto::CipherError &error) {
        return QString::number(error.number()) + u' ' + error.description();
    }
    return QStringLiteral("nothing raised");
}
