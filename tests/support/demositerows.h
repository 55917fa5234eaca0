#pragma once

#include "demo-site/server.h"
#include "harvest/resourceentry.h"
#include "config/endpoints.h"

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
