#pragma once

#include <QString>

namespace Crawl {

// The share site's results page for keyword: shareSite + "?wd=" + the keyword's GBK bytes
// percent-encoded, with the search form's fixed tail.
QString searchUrl(const QString &shareSite, const QString &keyword);

} // namespace Crawl
