#pragma once

#include "demo-site/server.h"
#include "harvest/resourceentry.h"
#include "net/endpoints.h"

// The demo site as the program's endpoints see it, and the rows its catalogue predicts.
namespace DemoSiteRows {

inline Net::Endpoints endpointsOf(const DemoSite::Server &site)
{
    Net::Endpoints endpoints = Net::Endpoints::defaults();
    const QString base = QString::fromStdString(site.baseUrl());
    endpoints.shareSite = base;
    endpoints.sharePrefix = base + QStringLiteral("yunpan/");
    endpoints.forum = base + QStringLiteral("forum/");
    endpoints.updateServer = base;
    endpoints.probe = base + QStringLiteral("probe/");
    endpoints.serviceUrl = base + QStringLiteral("service.html");
    return endpoints;
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
