#pragma once

#include "demo-site/altpages.h"
#include "demo-site/catalog.h"
#include "demo-site/pages.h"
#include "demo-site/forum.h"

#include <httplib.h>

#include <string>

// Which page answers which path. Every party of the demo site shares one port: the share
// search site at "/", the cloud disk's share pages under "/yunpan/", the software server's
// version file, the connectivity probe, the customer-service page and the forum under "/forum/".
namespace DemoSite {

// The content type of the site's pages.
inline constexpr char kHtml[] = "text/html; charset=gbk";

// Every page leaves the site as GBK, as the real site sends it.
void setGbk(httplib::Response &response, const std::string &utf8, const char *contentType);

// What the site receives as GBK bytes (a form field, a query parameter), as UTF-8.
std::string gbkToUtf8(const std::string &bytes);

class Routes
{
public:
    // baseUrl is "http://127.0.0.1:PORT/"; the share-link prefix is baseUrl + "yunpan/".
    // robotsTxt is what /robots.txt serves; steadyShares as for shareAnswer.
    Routes(const Catalog &catalog, std::string baseUrl, std::string announcedVersion,
           VersionFileAnswer versionFileAnswer = VersionFileAnswer::Entry, Layout layout = Layout::Standard,
           std::string robotsTxt = {}, bool steadyShares = false);

    // Answers a request whose path belongs to the site; false, response untouched, otherwise.
    // attempt counts the requests for the path before this one.
    bool serve(const httplib::Request &request, int attempt, httplib::Response &response) const;

    // The 404 page, in the site's own look.
    static void notFound(httplib::Response &response);

    const Forum &forum() const { return m_forum; }

private:
    // The share-search site's own pages, in the standard or the alternative layout.
    bool serveStandardSite(const httplib::Request &request, httplib::Response &response) const;
    bool serveAltSite(const httplib::Request &request, httplib::Response &response) const;
    void serveListing(const std::string &pageText, httplib::Response &response) const;
    void serveDetail(const std::string &entryId, httplib::Response &response) const;
    void serveShare(const std::string &shareCode, int attempt, httplib::Response &response) const;
    void serveVersionFile(httplib::Response &response) const;

    const Catalog &m_catalog;
    std::string m_sharePrefix;
    std::string m_announcedVersion;
    VersionFileAnswer m_versionFileAnswer;
    Layout m_layout;
    std::string m_robotsTxt;
    bool m_steadyShares;
    Forum m_forum;
};

} // namespace DemoSite
