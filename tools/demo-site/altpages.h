#pragma once

#include "demo-site/catalog.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace DemoSite {

// How the share-search site lays out its pages: as the program's built-in site profile reads
// them, or the same catalogue after a redesign, which only a profile file for it reads
// (tools/demo-site/alt-profile.json).
enum class Layout { Standard, Alt };

// "standard" or "alt".
std::optional<Layout> layoutNamed(std::string_view name);

// The site profile file that reads the alternative layout, where the source tree keeps it.
std::string altProfileFile();

// The pages of the alternative layout, in UTF-8 and declaring no character set: other paths
// ("/list/N/", "/item/ID.htm", "/search?q=KEYWORD" with the keyword in UTF-8), other markup and
// class names, other wordings for an empty result. Like the standard pages, no page but a detail
// page holds the share-link prefix, once.
namespace AltLayout {

// Listing page `page`, or the page that says every share has been listed when entries is empty.
std::string listingPage(int page, const std::vector<Entry> &entries);
// The results of a keyword search (UTF-8), or the page that found nothing when entries is empty.
std::string searchPage(const std::string &keyword, const std::vector<Entry> &entries);
std::string detailPage(const Entry &entry, const std::string &sharePrefix);
std::string homePage();

// The address of listing page `page`, which the standard layout's listing addresses redirect to.
std::string listingPath(int page);

} // namespace AltLayout

} // namespace DemoSite
