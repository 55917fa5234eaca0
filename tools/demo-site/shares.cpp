#include "demo-site/shares.h"

#include "demo-site/catalog.h"
#include "demo-site/pages.h"
#include "demo-site/stablehash.h"

#include <array>
#include <utility>

namespace DemoSite {

namespace {

constexpr std::uint64_t kStateSalt = 1;

// How many shares in kStateRange are in each state other than Live.
constexpr std::array kStateShares{
    std::pair{ShareState::Gone, 3},      std::pair{ShareState::NeedsCode, 3}, std::pair{ShareState::Cancelled, 2},
    std::pair{ShareState::Expired, 1},   std::pair{ShareState::Deleted, 1},   std::pair{ShareState::Missing, 1},
    std::pair{ShareState::Violation, 1}, std::pair{ShareState::Throttled, 1}, std::pair{ShareState::Flaky, 1},
};
constexpr std::uint64_t kStateRange = 32;

// What a share page without its files says, by state.
constexpr std::array kNotices{
    std::pair{ShareState::Cancelled, std::string_view("啊哦，你来晚了，分享已取消")},
    std::pair{ShareState::Expired, std::string_view("该分享已过期")},
    std::pair{ShareState::Deleted, std::string_view("抱歉，该分享的文件已被删除")},
    std::pair{ShareState::Missing, std::string_view("啊哦，分享链接不存在")},
    std::pair{ShareState::Violation, std::string_view("此链接分享内容可能因为涉及侵权、色情、反动、低俗等信息，无法访问！")},
    std::pair{ShareState::Throttled, std::string_view("访问过于频繁，请稍后再试")},
};

std::string noticePage(std::string_view notice)
{
    return "<!DOCTYPE html>\n<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n"
           "<title>云盘分享</title>\n</head>\n<body>\n<h1>云盘分享</h1>\n<p class='error'>"
         + std::string(notice) + "</p>\n</body>\n</html>\n";
}

std::string codePage()
{
    return "<!DOCTYPE html>\n<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n"
           "<title>云盘分享</title>\n</head>\n<body>\n<h1>云盘分享</h1>\n"
           "<form method='post' action=''>请输入提取码：<input type='text' name='pwd' size='6' /> "
           "<input type='submit' value='提取文件' /></form>\n</body>\n</html>\n";
}

std::string_view noticeOf(ShareState state)
{
    for (const auto &[s, notice] : kNotices) {
        if (s == state)
            return notice;
    }
    return {};
}

} // namespace

ShareState shareStateOf(std::uint32_t seed, const std::string &shareCode)
{
    auto slot = static_cast<int>(stableHash(seed, shareCode, kStateSalt) % kStateRange);
    for (const auto &[state, shares] : kStateShares) {
        if (slot < shares)
            return state;
        slot -= shares;
    }
    return ShareState::Live;
}

ShareAnswer shareAnswer(const Entry &entry, int attempt, bool steady)
{
    ShareState state = entry.share;
    if (steady && (state == ShareState::Throttled || state == ShareState::Flaky))
        state = ShareState::Live;
    else if (state == ShareState::Flaky)
        state = attempt % 2 == 0 ? ShareState::Cancelled : ShareState::Live;
    switch (state) {
    case ShareState::Live: return {200, sharePage(entry)};
    case ShareState::NeedsCode: return {200, codePage()};
    case ShareState::Gone: return {404, notFoundPage()};
    case ShareState::Throttled: return {429, noticePage(noticeOf(state)), kShareRetryAfterSeconds};
    default: break;
    }
    return {200, noticePage(noticeOf(state))};
}

} // namespace DemoSite
