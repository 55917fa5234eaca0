// The login body of any typed input: the typed texts never add or split a field.
#include "fuzzinput.h"
#include "login/loginform.h"

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    const qsizetype third = text.size() / 3;
    const Login::LoginForm form{text.left(third), text.mid(third, third), 1 + static_cast<int>(size % 7), text.mid(2 * third)};
    const QByteArray body = Login::loginBody(u"http://127.0.0.1:8360/forum/"_s, form);
    const qsizetype fields = form.carriesQuestion() ? 6 : 4;
    if (body.count('&') != fields - 1 || body.count('=') != fields)
        std::abort();
    for (const char c : body) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == ' ' || c == '+')
            std::abort();
    }
    return 0;
}
