#pragma once

#include "demo-site/catalog.h"

#include <httplib.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The site's keyword search: "/?wd=KEYWORD&...", the keyword percent-encoded GBK as the site's
// own search form sends it.
namespace DemoSite {

// At most this many results, one page's worth, like the site's listing pages.
inline constexpr std::size_t kMostSearchResults = Catalog::kMaxEntriesPerPage;

// The keyword of a search request as UTF-8; nullopt when the request carries no "wd".
std::optional<std::string> searchKeyword(const httplib::Request &request);

// The entries whose titles contain keyword (UTF-8), in catalogue order, at most
// kMostSearchResults of them. An empty keyword matches every title.
std::vector<Entry> searchCatalog(const Catalog &catalog, std::string_view keyword);

} // namespace DemoSite
