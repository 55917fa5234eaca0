#include "cli/libraryaccess.h"

#include "library/librarypath.h"

using namespace Qt::StringLiterals;

namespace Cli {

std::unique_ptr<Library::Store> openLibraryFor(const Context &context, const char *command)
{
    Library::Opened opened = Library::openConfiguredStore(context.endpoints);
    for (const QString &line : {opened.notice, opened.error})
        if (!line.isEmpty())
            context.err << QLatin1StringView(command) << ": library: " << line << '\n';
    return std::move(opened.store);
}

} // namespace Cli
