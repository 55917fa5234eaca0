#pragma once

#include "cli/context.h"
#include "library/store.h"

namespace Cli {

// Records the JSON lines of a crawl (or of a library export) at path as one run: each line an
// object with "title" and "shareUrl" or "shareCode", optionally "page", "number", "fileCount",
// "extractionCode", "link", "linkReason" and "checkedAt". A bad line is named on err and skipped.
// Success, Partial when a line was skipped, Failure when the file cannot be read or the library
// refuses the rows.
int importJsonLines(const Context &context, Library::Store &store, const QString &path);

} // namespace Cli
