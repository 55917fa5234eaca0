#pragma once

#include "demo-site/server.h"
#include "harvest/resourceentry.h"
#include "config/endpoints.h"
#include "net/networkaccess.h"

#include <QNetworkAccessManager>

#include <optional>
#include <vector>

// The demo site as the program's endpoints see it, and the rows its catalogue predicts.
namespace DemoSiteRows {

inline Config::Endpoints endpointsOf(const DemoSite::Server &site)
{
    return Config::Endpoints::onDemoSite(QString::fromStdString(site.baseUrl()));
}

// The site profile the demo site's alternative layout is read with (DemoSite::altProfileFile()).
inline Config::SiteProfile altProfile()
{
    return Config::loadSiteProfile(QString::fromStdString(DemoSite::altProfileFile())).profile;
}

// The first share of the catalogue in state; none when no listing page has one.
inline std::optional<DemoSite::Entry> firstShareIn(const DemoSite::Catalog &catalog, DemoSite::ShareState state)
{
    for (int page = 0; page <= DemoSite::Catalog::kLastPage; ++page) {
        for (const DemoSite::Entry &entry : catalog.listingPage(page)) {
            if (entry.share == state)
                return entry;
        }
    }
    return std::nullopt;
}

// The requests the site's share pages received so far.
inline std::vector<DemoSite::Visit> shareVisits(const DemoSite::Server &site)
{
    std::vector<DemoSite::Visit> visits = site.visits();
    std::erase_if(visits, [](const DemoSite::Visit &visit) { return !visit.path.starts_with(DemoSite::kSharePath); });
    return visits;
}

// Stops the site after dropping the client's kept-alive connections, which would hold the stop.
inline void stopSite(DemoSite::Server &site)
{
    Net::networkManager().clearConnectionCache();
    site.stop();
}

inline Harvest::ResourceEntry expectedRow(const DemoSite::Entry &entry, int number)
{
    return {QString::number(number),
            QString::fromStdString(entry.title),
            QString::fromStdString(entry.fileCount),
            QString::fromStdString(entry.shareCode),
            QString::fromStdString(entry.entryId),
            QString::fromStdString(entry.extractionCode)};
}

} // namespace DemoSiteRows
