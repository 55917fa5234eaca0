#pragma once

#include "crypto/ciphererror.h"

#include <QLatin1StringView>
#include <QString>

namespace Crypto {

// Raises a cRijndael error; its description names the class and the operation, as
// "cRijndael.SetCipherKey - Illegal KeyBits Value".
[[noreturn]] inline void raiseRijndaelError(int number, const char *operation, const QString &text)
{
    throw CipherError(number, QLatin1StringView("cRijndael.") + QLatin1StringView(operation)
                                  + QLatin1StringView(" - ") + text);
}

} // namespace Crypto
