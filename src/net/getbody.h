#pragma once

#include <QString>

#include <optional>

namespace Net {

// Fetches url with GET and the one added header "If-Modified-Since: 0" and returns the body as
// text, decoded by its declared character set (GBK when none is declared). The HTTP status is
// not examined: an error page's body comes back like any other, a body-less answer is the empty
// text. Returns nullopt when the transfer fails (refused, timed out, aborted, bad URL) or the
// application is quitting.
//
// It looks like one blocking call but processes events while it waits, so the window stays
// responsive and the caller may be re-entered: callers must re-check their own state after it
// returns. QCoreApplication::quit() ends every wait at once.
std::optional<QString> GetBody(const QString &url);

} // namespace Net
