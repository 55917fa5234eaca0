#include "demo-site/search.h"

#include "demo-site/routes.h"

namespace DemoSite {

std::optional<std::string> searchKeyword(const httplib::Request &request)
{
    if (!request.has_param("wd"))
        return std::nullopt;
    // The library has already percent-decoded the parameter: these are the GBK bytes.
    return gbkToUtf8(request.get_param_value("wd"));
}

std::vector<Entry> searchCatalog(const Catalog &catalog, std::string_view keyword)
{
    // UTF-8 is self-synchronising: a byte match is a character match.
    std::vector<Entry> found;
    for (int page = 0; page <= Catalog::kLastPage && found.size() < kMostSearchResults; ++page) {
        for (Entry &entry : catalog.listingPage(page)) {
            if (entry.title.find(keyword) == std::string::npos)
                continue;
            found.push_back(std::move(entry));
            if (found.size() == kMostSearchResults)
                break;
        }
    }
    return found;
}

} // namespace DemoSite
