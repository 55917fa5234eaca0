#include "demo-site/shares.h"

#include "demo-site/stablehash.h"

#include <array>
#include <string_view>

namespace DemoSite {

namespace {

constexpr std::uint64_t kStateSalt = 1;
constexpr std::uint64_t kWordingSalt = 2;
constexpr std::uint64_t kStateRange = 10; // one share in ten gone, one in ten cancelled

constexpr std::array<std::string_view, 4> kDeadWordings{
    "啊哦，你来晚了，分享已取消", "该分享已被删除", "链接不存在", "分享已过期"};

} // namespace

ShareState shareStateOf(std::uint32_t seed, const std::string &shareCode)
{
    switch (stableHash(seed, shareCode, kStateSalt) % kStateRange) {
    case 0: return ShareState::Gone;
    case 1: return ShareState::Cancelled;
    default: return ShareState::Live;
    }
}

std::string cancelledSharePage(std::uint32_t seed, const std::string &shareCode)
{
    const std::string_view wording = kDeadWordings[stableHash(seed, shareCode, kWordingSalt) % kDeadWordings.size()];
    return "<!DOCTYPE html>\n<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n"
           "<title>云盘分享</title>\n</head>\n<body>\n<h1>云盘分享</h1>\n<p class='error'>"
         + std::string(wording) + "</p>\n</body>\n</html>\n";
}

} // namespace DemoSite
