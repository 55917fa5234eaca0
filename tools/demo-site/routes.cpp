#include "demo-site/routes.h"

#include "demo-site/pages.h"
#include "demo-site/search.h"
#include "text/gbk.h"

#include <QString>

#include <climits>
#include <optional>
#include <string_view>

namespace DemoSite {

namespace {

constexpr char kText[] = "text/plain; charset=gbk";
constexpr char kUndeclaredHtml[] = "text/html"; // the alternative layout's UTF-8 pages say no charset

// The text between head and tail when path is exactly head + text + tail.
std::optional<std::string> between(const std::string &path, std::string_view head, std::string_view tail)
{
    const std::string_view view(path);
    if (view.size() < head.size() + tail.size() || !view.starts_with(head) || !view.ends_with(tail))
        return std::nullopt;
    return std::string(view.substr(head.size(), view.size() - head.size() - tail.size()));
}

// A page number of decimal digits; numbers too long for an int are past every page there is.
std::optional<int> parsePage(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const std::size_t firstSignificant = text.find_first_not_of('0');
    if (firstSignificant == std::string_view::npos)
        return 0;
    text.remove_prefix(firstSignificant);
    if (text.size() > 9)
        return INT_MAX;
    return std::stoi(std::string(text));
}

} // namespace

void setGbk(httplib::Response &response, const std::string &utf8, const char *contentType)
{
    const QByteArray bytes = Text::toGbk(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    response.set_content(bytes.constData(), static_cast<std::size_t>(bytes.size()), contentType);
}

std::string gbkToUtf8(const std::string &bytes)
{
    return Text::fromGbk(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))).toStdString();
}

Routes::Routes(const Catalog &catalog, std::string baseUrl, std::string announcedVersion,
               VersionFileAnswer versionFileAnswer, Layout layout,
               std::string robotsTxt, bool steadyShares)
    : m_catalog(catalog)
    , m_sharePrefix(std::move(baseUrl) + std::string(kSharePath.substr(1)))
    , m_announcedVersion(std::move(announcedVersion))
    , m_versionFileAnswer(versionFileAnswer)
    , m_layout(layout)
    , m_robotsTxt(std::move(robotsTxt))
    , m_steadyShares(steadyShares)
{
}

bool Routes::serve(const httplib::Request &request, int attempt, httplib::Response &response) const
{
    if (m_forum.serve(request, response))
        return true;
    if (request.method != "GET" && request.method != "HEAD")
        return false;
    if (m_layout == Layout::Alt ? serveAltSite(request, response) : serveStandardSite(request, response))
        return true;
    const std::string &path = request.path;
    if (const auto shareCode = between(path, kSharePath, "")) {
        serveShare(*shareCode, attempt, response);
    } else if (path == "/version/main.txt") {
        serveVersionFile(response);
    } else if (path == "/probe/") {
        setGbk(response, probePage(), kHtml);
    } else if (path == "/service.html") {
        setGbk(response, servicePage(), kHtml);
    } else if (path == "/robots.txt") {
        response.set_content(m_robotsTxt, "text/plain; charset=utf-8");
    } else {
        return false;
    }
    return true;
}

bool Routes::serveStandardSite(const httplib::Request &request, httplib::Response &response) const
{
    const std::string &path = request.path;
    if (path == "/") {
        if (const auto keyword = searchKeyword(request))
            setGbk(response, searchPage(*keyword, searchCatalog(m_catalog, *keyword)), kHtml);
        else
            setGbk(response, homePage(), kHtml);
    } else if (const auto page = between(path, "/act-", ".html")) {
        serveListing(*page, response);
    } else if (const auto entryId = between(path, "/id-", ".html")) {
        serveDetail(*entryId, response);
    } else {
        return false;
    }
    return true;
}

bool Routes::serveAltSite(const httplib::Request &request, httplib::Response &response) const
{
    const std::string &path = request.path;
    const auto send = [&response](const std::string &html) { response.set_content(html, kUndeclaredHtml); };
    if (path == "/search" && request.has_param("q")) {
        // The library has percent-decoded it: these are the keyword's UTF-8 bytes.
        const std::string keyword = request.get_param_value("q");
        send(AltLayout::searchPage(keyword, searchCatalog(m_catalog, keyword)));
    } else if (path == "/" || path == "/search") {
        send(AltLayout::homePage());
    } else if (const auto listed = between(path, "/list/", "/")) {
        const std::optional<int> page = parsePage(*listed);
        if (!page)
            return false;
        send(AltLayout::listingPage(*page, m_catalog.listingPage(*page)));
    } else if (const auto moved = between(path, "/act-", ".html")) {
        // The old listing addresses lead to the new ones, as a site that moved keeps its links alive.
        const std::optional<int> page = parsePage(*moved);
        if (!page)
            return false;
        response.set_redirect(AltLayout::listingPath(*page), 301);
    } else if (const auto entryId = between(path, "/item/", ".htm")) {
        const std::optional<Entry> entry = m_catalog.entry(*entryId);
        if (!entry)
            return false;
        send(AltLayout::detailPage(*entry, m_sharePrefix));
    } else {
        return false;
    }
    return true;
}

void Routes::notFound(httplib::Response &response)
{
    response.status = 404;
    setGbk(response, notFoundPage(), kHtml);
}

void Routes::serveListing(const std::string &pageText, httplib::Response &response) const
{
    const std::optional<int> page = parsePage(pageText);
    if (!page)
        return notFound(response);
    setGbk(response, listingPage(*page, m_catalog.listingPage(*page)), kHtml);
}

void Routes::serveDetail(const std::string &entryId, httplib::Response &response) const
{
    const std::optional<Entry> entry = m_catalog.entry(entryId);
    if (!entry)
        return notFound(response);
    setGbk(response, detailPage(*entry, m_sharePrefix), kHtml);
}

void Routes::serveShare(const std::string &shareCode, int attempt, httplib::Response &response) const
{
    const std::optional<Entry> entry = m_catalog.entryByShareCode(shareCode);
    if (!entry)
        return notFound(response);
    const ShareAnswer answer = shareAnswer(*entry, attempt, m_steadyShares);
    response.status = answer.status;
    if (answer.retryAfterSeconds > 0)
        response.set_header("Retry-After", std::to_string(answer.retryAfterSeconds));
    setGbk(response, answer.html, kHtml);
}

void Routes::serveVersionFile(httplib::Response &response) const
{
    switch (m_versionFileAnswer) {
    case VersionFileAnswer::Entry: return setGbk(response, versionFile(m_announcedVersion), kText);
    case VersionFileAnswer::ErrorPage: return notFound(response);
    case VersionFileAnswer::Empty: return response.set_content("", kText);
    }
}

} // namespace DemoSite
