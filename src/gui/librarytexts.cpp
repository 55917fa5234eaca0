#include "gui/librarytexts.h"

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

QString deadReasonText(Crawl::DeadReason reason)
{
    switch (reason) {
    case Crawl::DeadReason::Cancelled: return u"已取消"_s;
    case Crawl::DeadReason::Expired: return u"已过期"_s;
    case Crawl::DeadReason::Deleted: return u"已删除"_s;
    case Crawl::DeadReason::Violation: return u"违规"_s;
    case Crawl::DeadReason::NotFound: return u"不存在"_s;
    case Crawl::DeadReason::None: break;
    }
    return {};
}

} // namespace

QString linkStateText(Crawl::LinkState state)
{
    switch (state) {
    case Crawl::LinkState::Live: return u"有效"_s;
    case Crawl::LinkState::Locked: return u"需提取码"_s;
    case Crawl::LinkState::Dead: return u"失效"_s;
    case Crawl::LinkState::Limited: return u"受限"_s;
    case Crawl::LinkState::Unknown: break;
    }
    return u"未知"_s;
}

QString linkVerdictText(const Crawl::LinkVerdict &verdict)
{
    const QString reason = deadReasonText(verdict.reason);
    return reason.isEmpty() ? linkStateText(verdict.state) : linkStateText(verdict.state) + u"（"_s + reason + u"）"_s;
}

QString shownTime(const QDateTime &time)
{
    return time.isValid() ? time.toLocalTime().toString(u"yyyy-MM-dd HH:mm"_s) : QString();
}

} // namespace Gui
