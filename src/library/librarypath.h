#pragma once

#include "config/endpoints.h"
#include "library/store.h"

#include <QString>

namespace Library {

// vorlen360/library.sqlite in the user's data folder (~/.local/share on Linux).
QString defaultLibraryPath();

// The library the endpoints name (their library setting, else the default path), opened; with
// keepLibrary off, an Opened without store, notice or error.
Opened openConfiguredStore(const Config::Endpoints &endpoints, OpenOptions options = {});

} // namespace Library
