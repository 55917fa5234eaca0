#include "main/clock.h"

namespace MainUi {

QString clockText(QTime time)
{
    return QString::number(time.hour()) + u':' + QString::number(time.minute()) + u':' + QString::number(time.second());
}

} // namespace MainUi
