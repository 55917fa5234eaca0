#pragma once

#include <QString>
#include <QStringView>

// Which keywords the search sends.
namespace Harvest {

// Why keyword is not searched, in the words the user is shown: "请输入要搜索的关键字" when it
// is empty, "请输入最少两个字符" when it holds fewer than two characters (characters, not bytes;
// spaces count). Empty when it may be searched.
QString keywordRefusal(QStringView keyword);

} // namespace Harvest
