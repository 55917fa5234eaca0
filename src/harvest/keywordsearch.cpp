#include "harvest/keywordsearch.h"

#include "text/percentencoding.h"

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

QString searchUrl(const QString &shareSite, QStringView keyword)
{
    // submit.x/y are where the form's image button was clicked; submit is 开始搜索 in GBK.
    return shareSite + u"?wd="_s + Text::percentEncodeGbk(keyword)
        + u"&submit.x=49&submit.y=14&submit=%BF%AA%CA%BC%CB%D1%CB%F7"_s;
}

} // namespace Harvest
