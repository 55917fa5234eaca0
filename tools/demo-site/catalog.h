#pragma once

#include "demo-site/shares.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The shares the demo site lists, made up from a seed: the same seed always gives the same
// entries in the same order, so tests and benchmarks can predict every page.
namespace DemoSite {

// One share as the listing and detail pages show it. All texts are UTF-8.
struct Entry
{
    std::string entryId;        // 18 letters and digits; names the detail page
    std::string title;          // Chinese, never holds "<"
    std::string fileCount;      // "3个文件" or a bare number
    std::string extractionCode; // 4 letters and digits
    std::string shareCode;      // the path after the share-link prefix, as a reader must extract it
    std::string detailSuffix;   // written after the code before the closing quote: "?" or ""
    ShareState share = ShareState::Live; // what the share page under the prefix answers

    friend bool operator==(const Entry &, const Entry &) = default;
};

class Catalog
{
public:
    // newEntries: how many entries the site has gained since the seed's catalogue, listed first
    // on page 0 (newest first) while the rest move down, every page keeping its size but the
    // last, which takes what is pushed off the others. The first k of a larger growth are the
    // newest; its last n are those of a growth by n, so a growing site can be played in steps.
    explicit Catalog(std::uint32_t seed = 1, int newEntries = 0);

    std::uint32_t seed() const { return m_seed; }

    static constexpr int kLastPage = 150;
    static constexpr int kMinEntriesPerPage = 20;
    static constexpr int kMaxEntriesPerPage = 30;

    // The entries of listing page `page` in page order; empty below 0 and past kLastPage.
    std::vector<Entry> listingPage(int page) const;

    // The entry with this id, from any page; nullopt when no page lists it.
    std::optional<Entry> entry(const std::string &entryId) const;

    // The entry whose share link ends in this code; nullopt when there is none.
    std::optional<Entry> entryByShareCode(const std::string &shareCode) const;

private:
    std::optional<Entry> lookUp(const std::unordered_map<std::string, std::size_t> &index,
                                const std::string &key) const;
    void add(Entry entry);

    std::uint32_t m_seed;
    std::vector<Entry> m_entries;         // all pages, one after the other
    std::vector<std::size_t> m_pageStart; // kLastPage + 2 offsets into m_entries
    std::unordered_map<std::string, std::size_t> m_byId;
    std::unordered_map<std::string, std::size_t> m_byShareCode;
};

} // namespace DemoSite
