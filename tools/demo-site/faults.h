#pragma once

#include "demo-site/catalog.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// Hostile answers the site gives on purpose (`--fault NAME`), one kind per server, so tests
// see what the program makes of a server that misbehaves. Every other path answers as usual.
namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace DemoSite {

class Routes;

enum class Fault {
    None,
    SilentDetail,    // "silent-detail": detail pages never answer (until the server stops)
    ResetListing,    // "reset-listing": half of a listing page, then the connection is aborted
    HugeListing,     // "huge-listing": every listing page lists hugeListingEntries(), some 10 MB
    BadGbkTitles,    // "bad-gbk-titles": every title ends in a lone GBK lead byte (0x81) before its markup
    UnknownCharset,  // "unknown-charset": listing pages declare a character set nobody knows
    RedirectLoop,    // "redirect-loop": listing pages redirect to /loop/1, /loop/N to /loop/N+1
    HugeLoginAnswer, // "huge-login": 5 MB of notices ahead of the forum login answer's message
    FakeAvatar,      // "fake-avatar": avatars are a text page declared image/jpeg
    HugeVersionFile, // "huge-version-file": 1 MB of other products' lines before the usual file
    FormulaTitles,   // "formula-titles": titles of listings and search results start with "=" and "@" in turn
    ControlNames,    // "control-names": the forum welcomes a user whose name holds ESC, TAB and LF
};

std::optional<Fault> faultNamed(std::string_view name);

inline constexpr int kHugeListingEntries = 10000;
inline constexpr std::size_t kHugeLoginPadding = 5 << 20;
inline constexpr std::size_t kHugeVersionPadding = 1 << 20;

// What the huge listing lists: the catalogue's entries from page 0 on, over and over.
std::vector<Entry> hugeListingEntries(const Catalog &catalog);

// The fault's answer when it takes this request; false, response untouched, otherwise.
// waitForStop blocks until the server stops.
bool serveFault(Fault fault, const Routes &routes, const Catalog &catalog, const httplib::Request &request,
                httplib::Response &response, const std::function<void()> &waitForStop);

// Changes an answer already made by a route (the forum login's, which its own handler writes).
void alterAnswer(Fault fault, const httplib::Request &request, httplib::Response &response);
// Whether alterAnswer takes this request's answer. The library compresses a body before
// alterAnswer sees it, so such an answer must go out uncompressed; alterAnswer sets its length.
bool altersAnswer(Fault fault, const httplib::Request &request);

// Whether the server's connections end with a reset rather than an orderly close.
inline bool resetsConnections(Fault fault) { return fault == Fault::ResetListing; }

} // namespace DemoSite
