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

RequiredLibrary requireLibrary(const Context &context, const QString &command, const QString &action, bool writes)
{
    if (!context.endpoints.keepLibrary)
        return {nullptr, usageError(context, command + u": --no-library leaves no library to use"_s)};
    Library::Opened opened = Library::openConfiguredStore(context.endpoints);
    if (!opened.notice.isEmpty())
        context.err << command << ": " << opened.notice << '\n';
    if (!opened.store) {
        context.err << command << ": " << opened.error << '\n';
        return {nullptr, Unreachable};
    }
    if (writes && opened.store->isReadOnly()) {
        context.err << command << ' ' << action << ": the library is open read-only\n";
        return {nullptr, Unreachable};
    }
    return {std::move(opened.store), Success};
}

} // namespace Cli
