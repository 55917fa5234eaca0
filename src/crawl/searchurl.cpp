#include "crawl/searchurl.h"

#include "net/texthelpers.h"

using namespace Qt::StringLiterals;

namespace Crawl {

QString searchUrl(const QString &shareSite, const QString &keyword)
{
    return shareSite + u"?wd="_s + Net::GBKEncodeURI(keyword)
        + u"&submit.x=49&submit.y=14&submit=%BF%AA%CA%BC%CB%D1%CB%F7"_s;
}

} // namespace Crawl
