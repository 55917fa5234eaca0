#include "demo-site/server.h"

#include "demo-site/forumlogin.h"
#include "demo-site/failures.h"
#include "demo-site/routes.h"

#include <httplib.h>

#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace DemoSite {

namespace {

constexpr char kHost[] = "127.0.0.1";
constexpr int kHighestPort = 65535;
constexpr auto kStartTimeout = std::chrono::seconds(5);
// Short, so that stop() does not wait long for an idle kept-alive connection to time out.
constexpr time_t kKeepAliveSeconds = 1;
constexpr std::size_t kKeepAliveRequests = 1000; // a whole harvest on one connection
constexpr std::size_t kPromisedLength = 4096;     // of an answer whose connection drops

// The library's default also sets SO_REUSEPORT, which lets a second server bind a port that
// is in use; a busy port must make start() fail instead.
void reuseAddressOnly(socket_t socket)
{
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
}

} // namespace

struct Server::Impl
{
    explicit Impl(Options opts) : options(std::move(opts)), catalog(options.seed, options.newEntries) {}

    int bind(int wanted);
    void waitOutLatency();
    void waitForStop();
    int countAttempt(const std::string &path);
    bool failOnPurpose(const httplib::Request &request, int attempt, httplib::Response &response);
    httplib::Server::HandlerResponse answer(const httplib::Request &request, httplib::Response &response);

    Options options;
    Catalog catalog;
    httplib::Server http;
    std::unique_ptr<Routes> routes;
    std::string foreignOrigin; // options.foreignOrigin, or this site under the name localhost
    std::thread thread;
    std::atomic<bool> listenReturned{false};
    int port = 0;

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::unordered_map<std::string, int> attempts; // requests per path, under mutex
    std::vector<Visit> visits;                      // under mutex
    int answering = 0;                              // under mutex
    int mostAnswering = 0;                          // under mutex
};

int Server::Impl::bind(int wanted)
{
    if (wanted < 0 || wanted > kHighestPort)
        return -1;
    http.set_socket_options(reuseAddressOnly);
    if (resetsConnections(options.fault)) {
        // Accepted sockets inherit a zero linger time, so closing them sends a reset.
        http.set_socket_options([](socket_t socket) {
            reuseAddressOnly(socket);
            const linger abort{1, 0};
            setsockopt(socket, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
        });
    }
    // Headers and body leave in separate writes; without this, Nagle's algorithm and delayed
    // acknowledgement hold every answer on a kept-alive connection for some 40 ms. Accepted
    // sockets inherit it from the listening one, so it must be set before binding.
    http.set_tcp_nodelay(true);
    if (wanted == 0)
        return http.bind_to_any_port(kHost);
    return http.bind_to_port(kHost, wanted) ? wanted : -1;
}

// A condition wait rather than a sleep, so that stop() cuts it short.
void Server::Impl::waitOutLatency()
{
    if (options.latencyMs <= 0)
        return;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, std::chrono::milliseconds(options.latencyMs), [this] { return stopping; });
}

void Server::Impl::waitForStop()
{
    std::unique_lock lock(mutex);
    wake.wait(lock, [this] { return stopping; });
}

namespace {

// The library compresses with brotli at its slowest quality whenever a client accepts "br",
// which costs some 10 ms a page and would make every benchmark measure the compressor. Real
// sites answer dynamic pages with gzip, so the site offers gzip alone. The request object is
// the library's own non-const one, handed to us by const reference. Where compress is false,
// nothing is offered.
void offerGzipOnly(const httplib::Request &request, bool compress)
{
    auto &headers = const_cast<httplib::Request &>(request).headers;
    const auto accepted = headers.find("Accept-Encoding");
    if (accepted == headers.end())
        return;
    const bool gzip = compress && accepted->second.find("gzip") != std::string::npos;
    headers.erase("Accept-Encoding");
    if (gzip)
        headers.emplace("Accept-Encoding", "gzip");
}

} // namespace

httplib::Server::HandlerResponse Server::Impl::answer(const httplib::Request &request, httplib::Response &response)
{
    {
        const std::lock_guard lock(mutex);
        visits.push_back({request.method, request.path, request.get_header_value("User-Agent"), std::chrono::steady_clock::now()});
        mostAnswering = std::max(mostAnswering, ++answering);
    }
    const std::unique_ptr<Impl, void (*)(Impl *)> answered(this, [](Impl *impl) {
        const std::lock_guard lock(impl->mutex);
        --impl->answering;
    });
    waitOutLatency();
    offerGzipOnly(request, compressesAnswers(options.fault));
    const int attempt = countAttempt(request.path);
    if (failOnPurpose(request, attempt, response))
        return httplib::Server::HandlerResponse::Handled;
    if (serveFault(options.fault, *routes, catalog, request, attempt, response, [this] { waitForStop(); }))
        return httplib::Server::HandlerResponse::Handled;
    if (isForumLogin(request)) // its body is read after this handler, for the route
        return httplib::Server::HandlerResponse::Unhandled;
    if (!routes->serve(request, attempt, response))
        Routes::notFound(response);
    return httplib::Server::HandlerResponse::Handled;
}

// The requests for path before this one.
int Server::Impl::countAttempt(const std::string &path)
{
    const std::lock_guard lock(mutex);
    return attempts[path]++;
}

// Fails the requests the plan names: a 500, or a dropped connection after the header and part
// of a promised body (a client cannot take that for a whole page).
bool Server::Impl::failOnPurpose(const httplib::Request &request, int attempt, httplib::Response &response)
{
    // robots.txt decides whether a crawl starts at all; its failures are a fault of their own.
    if (!(options.failFraction > 0) || request.path == "/robots.txt")
        return false;
    switch (plannedFailure(options.seed, options.failFraction, request.path, attempt)) {
    case Failure::None:
        return false;
    case Failure::ServerError:
        response.status = 500;
        response.set_content("<html><body>500 Internal Server Error</body></html>", "text/html");
        return true;
    case Failure::DroppedConnection:
        response.set_content_provider(kPromisedLength, "text/html", [](std::size_t, std::size_t, httplib::DataSink &sink) {
            sink.write("<html><body>", 12);
            return false; // the library closes the connection
        });
        return true;
    }
    return false;
}

Server::Server(Options options) : m_impl(std::make_unique<Impl>(std::move(options))) {}

Server::~Server()
{
    stop();
}

bool Server::start(int port)
{
    if (m_impl->thread.joinable() || m_impl->stopping)
        return false;
    const int bound = m_impl->bind(port);
    if (bound <= 0)
        return false;
    m_impl->port = bound;
    m_impl->foreignOrigin =
        m_impl->options.foreignOrigin.empty() ? "http://localhost:" + std::to_string(bound) + "/" : m_impl->options.foreignOrigin;
    m_impl->routes = std::make_unique<Routes>(m_impl->catalog, baseUrl(), m_impl->options.announcedVersion,
                                              m_impl->options.versionFileAnswer, m_impl->options.layout,
                                              m_impl->options.robotsTxt, m_impl->options.steadyShares);
    // All routing is ours: the library's own router matches with std::regex, which recurses
    // once per character and could overflow the stack on a long path.
    m_impl->http.set_pre_routing_handler([impl = m_impl.get()](const httplib::Request &request, httplib::Response &response) {
        return impl->answer(request, response);
    });
    addForumLogin(m_impl->http, [impl = m_impl.get()](const httplib::Request &request, httplib::Response &response) {
        alterAnswer(impl->options.fault, impl->foreignOrigin, request, response);
    });
    m_impl->http.set_keep_alive_timeout(kKeepAliveSeconds);
    m_impl->http.set_keep_alive_max_count(kKeepAliveRequests);
    m_impl->thread = std::thread([impl = m_impl.get()] {
        impl->http.listen_after_bind();
        impl->listenReturned = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (!m_impl->http.is_running() && !m_impl->listenReturned && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return m_impl->http.is_running();
}

void Server::stop()
{
    {
        const std::lock_guard lock(m_impl->mutex);
        m_impl->stopping = true;
    }
    m_impl->wake.notify_all();
    if (!m_impl->thread.joinable())
        return;
    // The library ignores stop() until its loop runs, so repeat it until the loop has ended.
    while (!m_impl->listenReturned) {
        m_impl->http.stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_impl->thread.join();
}

std::vector<Visit> Server::visits() const
{
    const std::lock_guard lock(m_impl->mutex);
    return m_impl->visits;
}

int Server::maxConcurrentRequests() const
{
    const std::lock_guard lock(m_impl->mutex);
    return m_impl->mostAnswering;
}

int Server::port() const
{
    return m_impl->port;
}

std::string Server::baseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(m_impl->port) + "/";
}

const Catalog &Server::catalog() const
{
    return m_impl->catalog;
}

std::vector<std::string> Server::forumLogouts() const
{
    return m_impl->routes ? m_impl->routes->forum().logouts() : std::vector<std::string>();
}

} // namespace DemoSite
