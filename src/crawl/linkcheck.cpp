#include "crawl/linkcheck.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Crawl {

LinkState classifyShare(const Answer &answer, const QStringList &markers)
{
    if (answer.kind != Answer::Kind::Http || answer.status >= 500 || answer.status == 429)
        return LinkState::Unknown;
    if (answer.status == 404 || answer.status == 410)
        return LinkState::Dead;
    const bool marked = std::any_of(markers.cbegin(), markers.cend(), [&](const QString &marker) {
        return !marker.isEmpty() && answer.body.contains(marker);
    });
    if (marked)
        return LinkState::Dead;
    return answer.body.isEmpty() ? LinkState::Unknown : LinkState::Live;
}

} // namespace Crawl
