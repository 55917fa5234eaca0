#pragma once

#include <QString>
#include <QTime>

#include <functional>

namespace Gui {

// Where the status-bar clock reads the time of day; tests put a fixed time in.
using TimeSource = std::function<QTime()>;

// Hour, minute and second in decimal without leading zeros: 9:5:3, 0:0:0.
QString clockText(QTime time);

} // namespace Gui
