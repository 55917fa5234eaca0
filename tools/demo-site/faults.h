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
    HugeLoginAnswer, // "huge-login": 900 KB of notices ahead of the forum login answer's message
    FakeAvatar,      // "fake-avatar": avatars are a text page declared image/jpeg
    HugeVersionFile, // "huge-version-file": 1 MB of other products' lines before the usual file
    FormulaTitles,   // "formula-titles": titles of listings and search results start with "=" and "@" in turn
    ControlNames,    // "control-names": the forum welcomes a user whose name holds ESC, TAB and LF
    LoginRedirect,   // "login-redirect": the login POST is answered 307 to the same target at another origin
    EndlessListing,  // "endless-listing": listing pages are a body without end, as fast as it goes
    EndlessLogin,    // "endless-login": so is the forum login answer
    EndlessAvatar,   // "endless-avatar": so are avatars
    Throttled,       // "throttled": a listing page's first request gets 429 (even pages) or 503 (odd ones) with Retry-After
    RobotsError,     // "robots-error": /robots.txt answers 500
    LinkMessage,     // "link-message": the login answer is a forum message holding an <a href> link
};

std::optional<Fault> faultNamed(std::string_view name);

inline constexpr int kHugeListingEntries = 10000;
// Large, yet under what a client may take for a login answer (1 MiB).
inline constexpr std::size_t kHugeLoginPadding = 900 << 10;
// An endless body still stops here, so a client that never stops reading cannot take the
// machine's memory.
inline constexpr std::size_t kEndlessBodyStop = 256 << 20;
inline constexpr std::size_t kHugeVersionPadding = 1 << 20;
// The Retry-After, in seconds, of a throttled listing page.
inline constexpr int kThrottleRetryAfterSeconds = 2;

// What the huge listing lists: the catalogue's entries from page 0 on, over and over.
std::vector<Entry> hugeListingEntries(const Catalog &catalog);

// The fault's answer when it takes this request; false, response untouched, otherwise. attempt
// counts the requests for the path before this one; waitForStop blocks until the server stops.
bool serveFault(Fault fault, const Routes &routes, const Catalog &catalog, const httplib::Request &request, int attempt,
                httplib::Response &response, const std::function<void()> &waitForStop);

// Changes the forum login's answer, which its own route writes, before it is sent.
// foreignOrigin ("http://HOST:PORT/") is where the login redirect points.
void alterAnswer(Fault fault, std::string_view foreignOrigin, const httplib::Request &request, httplib::Response &response);

// Whether the server's connections end with a reset rather than an orderly close.
inline bool resetsConnections(Fault fault) { return fault == Fault::ResetListing; }

// Whether answers may be compressed. Endless bodies go out as they are: as fast as the line
// takes them, and a client's guard against compression bombs would stop them before its own
// size limit did.
inline bool compressesAnswers(Fault fault)
{
    return fault != Fault::EndlessListing && fault != Fault::EndlessLogin && fault != Fault::EndlessAvatar;
}

} // namespace DemoSite
