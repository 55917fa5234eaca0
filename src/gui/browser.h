#pragma once

#include <QUrl>

#include <functional>

namespace Gui {

// Opening a web page in the user's browser goes through one replaceable function object, so
// tests record the address instead of starting a browser. Never a shell command line: no
// quoting of the address can break it.
using BrowserSeam = std::function<void(const QUrl &url)>;

// A seam that hands the address to the desktop's browser and does not wait for it.
BrowserSeam systemBrowser();

} // namespace Gui
