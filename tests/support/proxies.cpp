#include "support/proxies.h"

#include "support/closedport.h"

#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

namespace {

const QString kMicrosocks = QStringLiteral("microsocks");

} // namespace

SocksProxy::~SocksProxy()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool SocksProxy::installed()
{
    return !QStandardPaths::findExecutable(kMicrosocks).isEmpty();
}

bool SocksProxy::start(const QString &user, const QString &password)
{
    m_port = closedPort();
    QStringList arguments{QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(m_port)};
    if (!user.isEmpty())
        arguments += {QStringLiteral("-u"), user, QStringLiteral("-P"), password};
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(kMicrosocks, arguments);
    if (!m_process.waitForStarted(3000))
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(m_port));
        if (probe.waitForConnected(100))
            return true;
        QThread::msleep(20);
    }
    return false;
}

QString SocksProxy::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

int SocksProxy::connectionsMade()
{
    m_process.waitForReadyRead(100);
    m_log += m_process.readAll();
    return int(m_log.count("connected to"));
}

bool ForwardingProxy::start()
{
    m_server.server().Get(".*", [](const httplib::Request &request, httplib::Response &response) {
        const QUrl target(QString::fromStdString(request.target));
        if (target.scheme() != u"http" || target.host().isEmpty()) {
            response.status = 400;
            return;
        }
        httplib::Client client(target.host().toStdString(), target.port(80));
        httplib::Headers headers;
        for (const char *name : {"User-Agent", "Cookie"}) {
            if (request.has_header(name))
                headers.emplace(name, request.get_header_value(name));
        }
        const auto answer = client.Get(target.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority).toStdString(), headers);
        if (!answer) {
            response.status = 502;
            return;
        }
        response.status = answer->status;
        response.set_content(answer->body, answer->get_header_value("Content-Type"));
    });
    return m_server.start();
}

QString ForwardingProxy::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server.port());
}
