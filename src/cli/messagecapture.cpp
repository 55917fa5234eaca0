#include "cli/messagecapture.h"

#include <utility>

namespace Cli {

MessageCapture::MessageCapture(QTextStream &err)
    : m_err(err)
{
    m_previous = Crypto::setMessageSink([this](const QString &text, Crypto::MessageSeverity icon) {
        const char *kind = icon == Crypto::MessageSeverity::Critical ? "error: "
            : icon == Crypto::MessageSeverity::Warning               ? "warning: "
                                                                 : "";
        m_err << kind << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
        m_err.flush();
        m_shown = true;
    });
}

MessageCapture::~MessageCapture()
{
    Crypto::setMessageSink(std::move(m_previous));
}

bool MessageCapture::shown() const
{
    return m_shown;
}

} // namespace Cli
