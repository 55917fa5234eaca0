#include "scriptedsite.h"

#include "net/networkaccess.h"

#include <QNetworkAccessManager>
#include <QTcpServer>

#include <chrono>

const QString ScriptedSite::kSharePrefix = QStringLiteral("http://yunpan.test/");

ScriptedSite::ScriptedSite()
{
    m_server.server().Get(R"(/.*)", [this](const httplib::Request &request, httplib::Response &response) {
        serve(request, response);
    });
}

ScriptedSite::~ScriptedSite()
{
    release();
    // Idle keep-alive connections would hold the server's workers for seconds.
    Net::networkManager().clearConnectionCache();
    m_server.stop();
}

bool ScriptedSite::start()
{
    return m_server.start();
}

Config::Endpoints ScriptedSite::endpoints() const
{
    Config::Endpoints endpoints = Config::Endpoints::defaults();
    endpoints.shareSite = m_server.baseUrl();
    endpoints.sharePrefix = kSharePrefix;
    return endpoints;
}

void ScriptedSite::setPage(const std::string &path, const std::string &body)
{
    const std::lock_guard lock(m_mutex);
    m_pages[path] = body;
}

void ScriptedSite::removePage(const std::string &path)
{
    const std::lock_guard lock(m_mutex);
    m_pages.erase(path);
}

void ScriptedSite::addListing(int page, int count, const std::string &path)
{
    std::string html = "<html><head><title>listing</title></head><body><dl>\n";
    for (int i = 1; i <= count; ++i) {
        const Harvest::ResourceEntry entry = row(page, i, false);
        html += "<dd class='fff' id='" + entry.entryId.toStdString() + "'><dfn>" + entry.title.toStdString()
            + "</dfn><span class='ssite'>" + entry.fileCount.toStdString() + "</span><span class='sma'>"
            + entry.extractionCode.toStdString() + "</span></dd>\n";
        setDetail(page, i, detailPage(shareCode(page, i)));
    }
    setPage(path.empty() ? "/act-" + std::to_string(page) + ".html" : path, html + "</dl></body></html>\n");
}

void ScriptedSite::setDetail(int page, int i, const std::string &body)
{
    setPage("/id-" + entryId(page, i).toStdString() + ".html", body);
}

void ScriptedSite::holdBack(const std::string &path)
{
    const std::lock_guard lock(m_mutex);
    m_heldPath = path;
    m_open = false;
}

bool ScriptedSite::isHolding() const
{
    const std::lock_guard lock(m_mutex);
    return m_holding;
}

void ScriptedSite::release()
{
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
    }
    m_released.notify_all();
}

void ScriptedSite::whenHolding(QTimer &poll, std::function<void()> action)
{
    QObject::connect(&poll, &QTimer::timeout, &poll, [this, &poll, action = std::move(action)] {
        if (!isHolding())
            return;
        poll.stop();
        action();
    });
    poll.start(5);
}

QStringList ScriptedSite::requestedPaths() const
{
    QStringList paths;
    for (const LoopbackServer::Request &request : m_server.requests())
        paths.append(QString::fromStdString(request.target));
    return paths;
}

QStringList ScriptedSite::requestedTargets() const
{
    QStringList targets;
    for (const LoopbackServer::Request &request : m_server.requests())
        targets.append(QString::fromStdString(request.target));
    return targets;
}

QString ScriptedSite::closedSite()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1/").arg(probe.serverPort());
}

QString ScriptedSite::entryId(int page, int i)
{
    return QStringLiteral("p%1e%2").arg(page, 5, 10, QChar(u'0')).arg(i, 11, 10, QChar(u'0'));
}

QString ScriptedSite::shareCode(int page, int i)
{
    return QStringLiteral("s%1k/%2").arg(page).arg(i);
}

Harvest::ResourceEntry ScriptedSite::row(int page, int i, bool withShareCode)
{
    const QString n = QString::number(i);
    return {n,
            QStringLiteral("第%1页资源%2").arg(page).arg(i),
            n + QStringLiteral("个文件"),
            withShareCode ? shareCode(page, i) : QString(),
            entryId(page, i),
            QStringLiteral("c%1").arg(i)};
}

std::string ScriptedSite::detailPage(const QString &shareCode)
{
    const QString page = QStringLiteral("<html><body><a href=\"") + kSharePrefix + shareCode
        + QStringLiteral("?\">打开分享</a></body></html>\n");
    return page.toStdString();
}

void ScriptedSite::serve(const httplib::Request &request, httplib::Response &response)
{
    std::unique_lock lock(m_mutex);
    if (request.path == m_heldPath) {
        m_holding = true;
        m_released.wait_for(lock, std::chrono::seconds(10), [this] { return m_open; });
        m_holding = false;
    }
    const auto page = m_pages.find(request.path);
    if (page == m_pages.end()) {
        response.status = 404;
        return;
    }
    response.set_content(page->second, "text/html; charset=utf-8");
}
