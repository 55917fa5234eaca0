#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the cloud disk's share page of a share answers. A share's state is decided by the seed and
// the share code alone, apart from the catalogue's random stream, so adding it changed no
// generated entry.
namespace DemoSite {

struct Entry;

// Where the share pages are, under the site's root; the share-link prefix is the base URL and this.
inline constexpr std::string_view kSharePath = "/yunpan/";
// The Retry-After, in seconds, of a throttled share.
inline constexpr int kShareRetryAfterSeconds = 2;

enum class ShareState {
    Live,      // the share page, its files listed
    NeedsCode, // 200, a page that asks for the extraction code
    Gone,      // 404
    Cancelled, // 200, a page that says the share was cancelled
    Expired,   // 200, ... that it has expired
    Deleted,   // 200, ... that its files were deleted
    Missing,   // 200, ... that the link does not exist
    Violation, // 200, ... that it was blocked for what it holds
    Throttled, // 429 with Retry-After, a "too many visits" page
    Flaky,     // the cancelled page and the share page in turn, the cancelled page first
};

ShareState shareStateOf(std::uint32_t seed, const std::string &shareCode);

struct ShareAnswer
{
    int status = 200;
    std::string html;        // UTF-8
    int retryAfterSeconds = 0; // 0: no Retry-After header
};

// The answer to the attempt-th request (0-based) for entry's share page. steady answers Throttled
// and Flaky shares as Live, for clients that must not wait.
ShareAnswer shareAnswer(const Entry &entry, int attempt, bool steady);

} // namespace DemoSite
