#include "library/librarypath.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace Library {

QString defaultLibraryPath()
{
    // The window and the command-line tool are two programs with one library: the folder is
    // named for the product, not for whichever program asks.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/vorlen360/library.sqlite"_s;
}

Opened openConfiguredStore(const Config::Endpoints &endpoints, OpenOptions options)
{
    if (!endpoints.keepLibrary)
        return {};
    return openStore(endpoints.library.isEmpty() ? defaultLibraryPath() : endpoints.library, options);
}

} // namespace Library
