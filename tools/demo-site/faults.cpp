#include "demo-site/faults.h"

#include "demo-site/forumlogin.h"
#include "demo-site/pages.h"
#include "demo-site/routes.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

namespace DemoSite {

namespace {

constexpr std::pair<std::string_view, Fault> kFaultNames[] = {
    {"silent-detail", Fault::SilentDetail},        {"reset-listing", Fault::ResetListing},
    {"huge-listing", Fault::HugeListing},          {"bad-gbk-titles", Fault::BadGbkTitles},
    {"unknown-charset", Fault::UnknownCharset},    {"redirect-loop", Fault::RedirectLoop},
    {"huge-login", Fault::HugeLoginAnswer},        {"fake-avatar", Fault::FakeAvatar},
    {"huge-version-file", Fault::HugeVersionFile}, {"formula-titles", Fault::FormulaTitles},
    {"control-names", Fault::ControlNames},        {"login-redirect", Fault::LoginRedirect},
    {"endless-listing", Fault::EndlessListing},    {"endless-login", Fault::EndlessLogin},
    {"link-message", Fault::LinkMessage},          {"endless-avatar", Fault::EndlessAvatar},
    {"throttled", Fault::Throttled},               {"robots-error", Fault::RobotsError},
};

constexpr std::string_view kLoopPath = "/loop/";
constexpr std::string_view kAvatarPath = "/forum/uc_server/data/avatar/";

// In one pass: replacing in place would move the rest of a 10 MB page once per entry.
void replaceAll(std::string &text, std::string_view from, std::string_view to)
{
    std::string result;
    result.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, done)) {
        result.append(text, done, at - done);
        result += to;
        done = at + from.size();
    }
    result.append(text, done);
    text = std::move(result);
}

void setBody(httplib::Response &response, std::string body, const char *contentType)
{
    response.headers.erase("Content-Type");
    response.set_content(std::move(body), contentType);
}

// A text in GBK that holds none of the markers anything reads (no apostrophe, no "<dd").
std::string padding(std::size_t bytes)
{
    constexpr std::string_view kLine = "<p>\xb9\xab\xb8\xe6</p>\r\n"; // "公告" in GBK
    std::string text;
    text.reserve(bytes + kLine.size());
    while (text.size() < bytes)
        text += kLine;
    return text;
}

// Drops what a route answered, so that a fault can answer instead.
void discardAnswer(httplib::Response &response)
{
    response.status = 200;
    response.headers.erase("Content-Type");
    response.headers.erase("Set-Cookie");
    response.body.clear();
}

// Padding without end, 64 KiB at a time, until kEndlessBodyStop or the client goes away.
void sendEndlessly(httplib::Response &response, const std::string &contentType)
{
    discardAnswer(response);
    const auto chunk = std::make_shared<const std::string>(padding(64 << 10));
    response.set_chunked_content_provider(contentType, [chunk](std::size_t sent, httplib::DataSink &sink) {
        if (sent >= kEndlessBodyStop) {
            sink.done();
            return true;
        }
        return sink.write(chunk->data(), chunk->size());
    });
}

void redirect(httplib::Response &response, int hop)
{
    response.status = 302;
    response.set_header("Location", std::string(kLoopPath) + std::to_string(hop));
}

// Half of the page's bytes under a length that promises all of them; the connection is then
// closed, with a reset where resetsConnections() holds.
void cutShort(httplib::Response &response)
{
    auto body = std::make_shared<std::string>(std::move(response.body));
    response.body.clear();
    response.set_content_provider(body->size(), kHtml, [body](std::size_t, std::size_t, httplib::DataSink &sink) {
        sink.write(body->data(), body->size() / 2);
        return false;
    });
}

// What a spreadsheet would take for a formula: every title starts with "=" or "@" in turn.
void startTitlesWithFormulas(std::string &page)
{
    constexpr std::string_view kTitleStart = "<dfn>";
    bool at = false;
    for (std::size_t pos = page.find(kTitleStart); pos != std::string::npos; pos = page.find(kTitleStart, pos)) {
        pos += kTitleStart.size();
        page.insert(pos, 1, at ? '@' : '=');
        at = !at;
    }
}

std::string hugeListingPage(const Catalog &catalog)
{
    std::string html = listingPage(0, hugeListingEntries(catalog));
    // Some 800 bytes of description after every entry bring the page to about 10 MB.
    std::string description = "</dd>\n<p class='intro'>资源简介：";
    for (int i = 0; i < 70; ++i)
        description += "高清无水印 ";
    description += "</p>\n";
    replaceAll(html, "</dd>\n", description);
    return html;
}

} // namespace

std::optional<Fault> faultNamed(std::string_view name)
{
    for (const auto &[word, fault] : kFaultNames) {
        if (word == name)
            return fault;
    }
    return std::nullopt;
}

std::vector<Entry> hugeListingEntries(const Catalog &catalog)
{
    std::vector<Entry> entries;
    entries.reserve(kHugeListingEntries);
    for (int page = 0; entries.size() < kHugeListingEntries; page = (page + 1) % (Catalog::kLastPage + 1)) {
        for (const Entry &entry : catalog.listingPage(page)) {
            if (entries.size() < kHugeListingEntries)
                entries.push_back(entry);
        }
    }
    return entries;
}

bool serveFault(Fault fault, const Routes &routes, const Catalog &catalog, const httplib::Request &request, int attempt,
                httplib::Response &response, const std::function<void()> &waitForStop)
{
    const std::string &path = request.path;
    const bool listing = path.starts_with("/act-");
    switch (fault) {
    case Fault::None:
    case Fault::HugeLoginAnswer:
    case Fault::ControlNames:
    case Fault::LoginRedirect:
    case Fault::EndlessLogin:
    case Fault::LinkMessage: return false;
    case Fault::SilentDetail:
        if (!path.starts_with("/id-"))
            return false;
        waitForStop();
        Routes::notFound(response);
        return true;
    case Fault::ResetListing:
        if (!listing || !routes.serve(request, attempt, response))
            return false;
        cutShort(response);
        return true;
    case Fault::HugeListing:
        if (!listing)
            return false;
        setGbk(response, hugeListingPage(catalog), kHtml);
        return true;
    case Fault::EndlessListing:
        if (!listing)
            return false;
        sendEndlessly(response, kHtml);
        return true;
    case Fault::BadGbkTitles:
        if (!listing || !routes.serve(request, attempt, response))
            return false;
        replaceAll(response.body, "</dfn>", "\x81</dfn>");
        return true;
    case Fault::FormulaTitles:
        if ((!listing && path != "/") || !routes.serve(request, attempt, response)) // listings and search results
            return false;
        startTitlesWithFormulas(response.body);
        return true;
    case Fault::UnknownCharset:
        if (!listing || !routes.serve(request, attempt, response))
            return false;
        replaceAll(response.body, "charset=gbk", "charset=x-vorlen-7");
        setBody(response, std::move(response.body), "text/html; charset=x-vorlen-7");
        return true;
    case Fault::RedirectLoop:
        if (listing)
            redirect(response, 1);
        else if (path.starts_with(kLoopPath))
            redirect(response, std::atoi(path.c_str() + kLoopPath.size()) + 1);
        else
            return false;
        return true;
    case Fault::FakeAvatar:
        if (!path.starts_with(kAvatarPath))
            return false;
        response.set_content("<html><body>avatar service busy</body></html>", "image/jpeg");
        return true;
    case Fault::EndlessAvatar:
        if (!path.starts_with(kAvatarPath))
            return false;
        sendEndlessly(response, "image/jpeg");
        return true;
    case Fault::RobotsError:
        if (path != "/robots.txt")
            return false;
        response.status = 500;
        response.set_content("<html><body>500 Internal Server Error</body></html>", "text/html");
        return true;
    case Fault::Throttled:
        if (!listing || attempt > 0)
            return false;
        response.status = std::atoi(path.c_str() + 5) % 2 == 0 ? 429 : 503; // after "/act-"
        response.set_header("Retry-After", std::to_string(kThrottleRetryAfterSeconds));
        response.set_content("<html><body>slow down</body></html>", "text/html");
        return true;
    case Fault::HugeVersionFile:
        if (path != "/version/main.txt" || !routes.serve(request, attempt, response))
            return false;
        std::string body;
        body.reserve(kHugeVersionPadding + response.body.size());
        while (body.size() < kHugeVersionPadding)
            body += "yp:V2.1|\r\n";
        body += response.body;
        setBody(response, std::move(body), "text/plain; charset=gbk");
        return true;
    }
    return false;
}

void alterAnswer(Fault fault, std::string_view foreignOrigin, const httplib::Request &request, httplib::Response &response)
{
    const auto insertAfter = [&response](std::string_view marker, const std::string &text) {
        if (const std::size_t at = response.body.find(marker); at != std::string::npos)
            response.body.insert(at + marker.size(), text);
    };
    switch (fault) {
    case Fault::HugeLoginAnswer: insertAfter("<![CDATA[", padding(kHugeLoginPadding)); return;
    case Fault::ControlNames:
        insertAfter("'username':'", "\x1b[2J\t\n"); // a terminal would clear its screen
        return;
    case Fault::LoginRedirect:
        // 307 keeps the method and the body: a client that follows posts the password there.
        discardAnswer(response);
        response.status = 307;
        response.set_header("Location", std::string(foreignOrigin) + request.target.substr(1));
        return;
    case Fault::EndlessLogin:
        sendEndlessly(response, response.get_header_value("Content-Type")); // the route's own type
        return;
    case Fault::LinkMessage:
        discardAnswer(response);
        setLoginMessage(response,
                        "您的帐号尚未激活，请先<a href=\"http://" + request.get_header_value("Host")
                            + "/forum/member.php?mod=register\" target=\"_blank\">点此激活</a>后再登录");
        return;
    default: return;
    }
}

} // namespace DemoSite
