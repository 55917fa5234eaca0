#include "support/loopbackserver.h"

LoopbackServer::LoopbackServer()
{
    // Recorded before routing, so a request is on the list before its answer leaves.
    m_server.set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &) {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back({request.method, request.path, request.params, request.headers, request.body, request.remote_port,
                              request.target});
        return httplib::Server::HandlerResponse::Unhandled;
    });
}

LoopbackServer::~LoopbackServer()
{
    stop();
}

bool LoopbackServer::start()
{
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        return false;
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    for (int waited = 0; !m_server.is_running() && waited < 5000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return m_server.is_running();
}

void LoopbackServer::stop()
{
    if (m_thread.joinable()) {
        m_server.stop();
        m_thread.join();
    }
}

QString LoopbackServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

std::vector<LoopbackServer::Request> LoopbackServer::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

void LoopbackServer::clearRequests()
{
    const std::lock_guard lock(m_mutex);
    m_requests.clear();
}
