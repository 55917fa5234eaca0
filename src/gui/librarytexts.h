#pragma once

#include "crawl/linkstate.h"

#include <QDateTime>
#include <QString>

// How the windows show the library's values.
namespace Gui {

// 有效, 需提取码, 失效, 受限, 未知.
QString linkStateText(Crawl::LinkState state);
// The state, and for a dead share why: "失效（已过期）".
QString linkVerdictText(const Crawl::LinkVerdict &verdict);
// A time of the library in local time, "2024-05-01 09:05"; empty for an invalid time.
QString shownTime(const QDateTime &time);

} // namespace Gui
