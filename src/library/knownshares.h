#pragma once

#include "library/store.h"

#include <QString>

namespace Library {

// Whether the library holds the share: by its share URL (the key of a share with a code), or by
// its entry id (the key of a share whose code is unknown, and the entry a share was listed as).
// An empty share URL asks by the entry id alone, before the detail page is read.
bool isKnownShare(const Store &store, const QString &entryId, const QString &shareUrl);

} // namespace Library
