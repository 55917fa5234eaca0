#include "gui/clock.h"

namespace Gui {

QString clockText(QTime time)
{
    return QString::number(time.hour()) + u':' + QString::number(time.minute()) + u':' + QString::number(time.second());
}

} // namespace Gui
