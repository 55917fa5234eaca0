#pragma once

#include "support/loopbackserver.h"

#include <QProcess>
#include <QString>

// A SOCKS5 proxy on 127.0.0.1 with a free port: microsocks, run for the lifetime of the object.
class SocksProxy
{
public:
    SocksProxy() = default;
    ~SocksProxy();
    SocksProxy(const SocksProxy &) = delete;
    SocksProxy &operator=(const SocksProxy &) = delete;

    static bool installed();
    // Starts it, asking for user and password when user is not empty; false when it does not
    // take connections within a few seconds.
    bool start(const QString &user = {}, const QString &password = {});
    // "127.0.0.1:PORT"
    QString address() const;
    // How many connections it has made to a target so far.
    int connectionsMade();

private:
    QProcess m_process;
    int m_port = 0;
    QByteArray m_log;
};

// An HTTP proxy on 127.0.0.1: forwards each GET of an absolute URI to its host and passes the
// status, content type and body back. requests() shows what it was asked.
class ForwardingProxy
{
public:
    bool start();
    QString address() const; // "127.0.0.1:PORT"
    std::vector<LoopbackServer::Request> requests() const { return m_server.requests(); }

private:
    LoopbackServer m_server;
};
