#pragma once

#include "demo-site/catalog.h"

#include <string>
#include <vector>

// The pages of the demo site as UTF-8 HTML; the server turns them into GBK bytes. Every page
// but the listing pages is free of the listing markers, and only a detail page holds the
// share-link prefix, once.
namespace DemoSite {

// Listing page `page` with its entries, or the "no more shares" page when entries is empty.
std::string listingPage(int page, const std::vector<Entry> &entries);

// text with "<", ">", "&" and both quotes as character references: a keyword from a request
// must not become markup when a page echoes it.
std::string escapedHtml(const std::string &text);

// The results page of a keyword search (keyword in UTF-8), in the listing pages' format; without
// any entry marker when entries is empty.
std::string searchPage(const std::string &keyword, const std::vector<Entry> &entries);

// The detail page of entry, its share link being sharePrefix + shareCode + detailSuffix.
std::string detailPage(const Entry &entry, const std::string &sharePrefix);

// The cloud disk's page of a live share: its title, file count and download links.
std::string sharePage(const Entry &entry);

std::string homePage();
std::string notFoundPage();
std::string probePage();
std::string servicePage();

// The software server's version file, announcing `version` for this program.
std::string versionFile(const std::string &version);

// What the demo site answers for the version file.
enum class VersionFileAnswer {
    Entry,     // versionFile() of the announced version
    ErrorPage, // the site's 404 page, as a server without the file answers
    Empty,     // 200 with an empty body
};

} // namespace DemoSite
