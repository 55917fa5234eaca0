#include "harvest/keywordrefusal.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace Harvest {

QString keywordRefusal(QStringView keyword)
{
    if (keyword.isEmpty())
        return u"请输入要搜索的关键字"_s;
    // Code points: a character outside the basic plane is one character, not two UTF-16 units.
    if (keyword.toUcs4().size() < 2)
        return u"请输入最少两个字符"_s;
    return {};
}

} // namespace Harvest
