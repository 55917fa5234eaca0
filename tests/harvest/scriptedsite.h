#pragma once

#include "harvest/resourceentry.h"
#include "config/endpoints.h"
#include "support/loopbackserver.h"

#include <QString>
#include <QStringList>

#include <QTimer>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

// A share-search site on 127.0.0.1 whose pages a test scripts: listing pages of generated
// entries, their detail pages, and one path that can be held back until the test releases it.
// Paths without a page answer 404 with an empty body.
class ScriptedSite
{
public:
    static const QString kSharePrefix;

    ScriptedSite();
    ~ScriptedSite();

    bool start();
    // shareSite = this server, sharePrefix = kSharePrefix.
    Config::Endpoints endpoints() const;

    // Serves body at path ("/act-0.html"); may be called while serving.
    void setPage(const std::string &path, const std::string &body);
    void removePage(const std::string &path);
    // Listing page `page` with `count` generated entries, each with its detail page; served at
    // path when given ("/" for a search's results page), else at "/act-N.html".
    void addListing(int page, int count, const std::string &path = {});
    // Replaces the detail page of entry i (1-based) of a listing page.
    void setDetail(int page, int i, const std::string &body);

    // Answers to path wait until release() (at most 10 s).
    void holdBack(const std::string &path);
    bool isHolding() const;
    void release();
    // Runs action once, inside whatever wait is going on, as soon as an answer is held back.
    void whenHolding(QTimer &poll, std::function<void()> action);

    // Paths asked for, in order, as they came on the request line (still percent-encoded),
    // e.g. "/act-0.html".
    QStringList requestedPaths() const;
    // Requests as sent, query included, e.g. "/?wd=%D6%D0&submit.x=49...".
    QStringList requestedTargets() const;
    void clearRequests() { m_server.clearRequests(); }

    // The base URL of a port on 127.0.0.1 that nobody listens on.
    static QString closedSite();

    static QString entryId(int page, int i);
    static QString shareCode(int page, int i);
    // The row that entry i of a listing page gives, share code included when withShareCode.
    static Harvest::ResourceEntry row(int page, int i, bool withShareCode);
    static std::string detailPage(const QString &shareCode);

private:
    void serve(const httplib::Request &request, httplib::Response &response);

    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    std::map<std::string, std::string> m_pages;
    std::string m_heldPath;
    bool m_holding = false;
    bool m_open = false;
    LoopbackServer m_server; // last: stops before the state its handlers use goes away
};
