#pragma once

#include "config/productversion.h"
#include "demo-site/altpages.h"
#include "demo-site/catalog.h"
#include "demo-site/faults.h"
#include "demo-site/pages.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The demo site's HTTP server: every remote party of the program on one port of 127.0.0.1.
namespace DemoSite {

// What /robots.txt serves unless told otherwise: every crawler may fetch everything.
inline constexpr char kOpenRobotsTxt[] = "User-agent: *\nDisallow:\n";

struct Options
{
    std::uint32_t seed = 1;
    int latencyMs = 0;                   // waited before every answer
    std::string announcedVersion = Config::kReleaseName.toString().toStdString(); // named by /version/main.txt
    VersionFileAnswer versionFileAnswer = VersionFileAnswer::Entry;
    double failFraction = 0;             // share of requests failed on purpose (failures.h)
    Fault fault = Fault::None;           // hostile answers on purpose (faults.h)
    std::string robotsTxt = kOpenRobotsTxt; // served at /robots.txt
    // Where Fault::LoginRedirect sends the login ("http://HOST:PORT/"); empty: this site under
    // the name localhost, another origin for a client.
    std::string foreignOrigin = {};
    Layout layout = Layout::Standard;    // how the share-search site lays out its pages (altpages.h)
    // Throttled and flaky shares answer as live ones (shareAnswer), so a client never waits on a
    // share page: for benchmarks.
    bool steadyShares = false;
    // Entries gained since the seed's catalogue, listed first on page 0 (Catalog).
    int newEntries = 0;
};

// One request as it reached the site, before its answer.
struct Visit
{
    std::string method;
    std::string path;
    std::string userAgent;
    std::chrono::steady_clock::time_point at;
};

class Server
{
public:
    explicit Server(Options options = {});
    ~Server(); // stops the server
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;

    // Binds 127.0.0.1:port (0 picks a free port) and serves on a thread of its own; false when
    // the port cannot be bound or the server was started before (a server runs once).
    bool start(int port = 0);
    // Stops serving and waits for the server's threads; answers still waiting out their
    // latency are sent at once. Safe to call twice.
    void stop();

    int port() const;            // 0 until started
    std::string baseUrl() const; // "http://127.0.0.1:PORT/"
    const Catalog &catalog() const;
    // The login cookie each logout the forum received carried, in order ("" for none); empty
    // before start().
    std::vector<std::string> forumLogouts() const;
    // Every request received so far, in the order of arrival.
    std::vector<Visit> visits() const;
    // The most requests it was answering at one time so far (each one's latency included).
    int maxConcurrentRequests() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace DemoSite
