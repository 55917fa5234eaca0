#pragma once

#include "text/gbk.h"

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <optional>

namespace Net {

// Fetches url with GET and the one added header "If-Modified-Since: 0" and returns the body as
// text, decoded by its declared character set (fallbackCharset when none is declared). The HTTP status is
// not examined: every answer that carries a status line returns its body (400, 401, 404, 500
// alike), a body-less answer is the empty text. Returns nullopt when no complete HTTP answer came
// (refused, reset, timed out, aborted, bad URL, malformed answer) or the application is quitting.
// A server silent for longer than transferTimeout fails the fetch.
//
// It looks like one blocking call but processes events while it waits, so the window stays
// responsive and the caller may be re-entered: callers must re-check their own state after it
// returns. QCoreApplication::exit() ends every wait at once.
std::optional<QString> fetchPageText(const QString &url, std::chrono::milliseconds transferTimeout,
                                      QByteArrayView fallbackCharset = Text::kGbkName);

} // namespace Net
