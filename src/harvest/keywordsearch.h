#pragma once

#include <QString>
#include <QStringView>

// What the keyword search sends: which keywords go out, and the request they go out in.
namespace Harvest {

// Why keyword is not searched, in the words the user is shown: "请输入要搜索的关键字" when it
// is empty, "请输入最少两个字符" when it holds fewer than two characters (characters, not bytes;
// spaces count). Empty when it may be searched.
QString keywordRefusal(QStringView keyword);

// shareSite + "?wd=" + every GBK byte of keyword percent-encoded + the fixed tail of the site's
// search form. The keyword goes out exactly as typed: nothing trimmed, no case change.
QString searchUrl(const QString &shareSite, QStringView keyword);

} // namespace Harvest
