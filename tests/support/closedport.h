#pragma once

#include <QHostAddress>
#include <QTcpServer>

// A port of 127.0.0.1 nobody listens on: bound once, then released.
inline int closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}
