#pragma once

#include <httplib.h>

#include <QString>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An HTTP server on 127.0.0.1 with a free port, running on its own thread for the lifetime of
// the object. Tests add handlers to server() before start() and read what was asked of it.
class LoopbackServer
{
public:
    struct Request
    {
        std::string method;
        std::string path; // decoded, without the query
        httplib::Params params;
        httplib::Headers headers;
        std::string body;
        int remotePort; // the client's side of the connection: equal ports mean a reused connection
        std::string target; // as sent: path and query, percent-encoding untouched
    };

    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer &) = delete;
    LoopbackServer &operator=(const LoopbackServer &) = delete;

    httplib::Server &server() { return m_server; }

    // Binds a free port and starts serving; returns false when no port could be bound.
    bool start();
    void stop();

    int port() const { return m_port; }
    // "http://127.0.0.1:PORT/"
    QString baseUrl() const;

    std::vector<Request> requests() const;
    void clearRequests();

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = -1;
    mutable std::mutex m_mutex;
    std::vector<Request> m_requests;
};
