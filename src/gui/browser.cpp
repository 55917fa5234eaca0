#include "gui/browser.h"

#include <QDesktopServices>

namespace Gui {

BrowserSeam systemBrowser()
{
    return [](const QUrl &url) { QDesktopServices::openUrl(url); };
}

} // namespace Gui
