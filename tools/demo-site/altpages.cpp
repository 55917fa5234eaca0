#include "demo-site/altpages.h"

#include "demo-site/pages.h"

namespace DemoSite {

std::optional<Layout> layoutNamed(std::string_view name)
{
    if (name == "standard")
        return Layout::Standard;
    if (name == "alt")
        return Layout::Alt;
    return std::nullopt;
}

std::string altProfileFile()
{
    return VORLEN_ALT_PROFILE_FILE;
}

namespace AltLayout {

namespace {

std::string document(std::string_view title, std::string_view body)
{
    std::string html;
    html.reserve(body.size() + 1024);
    html += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<title>";
    html += title;
    html += " · 云盘搜</title>\n<link rel=\"stylesheet\" href=\"/static/v2.css\">\n</head>\n<body>\n"
            "<header class=\"site-top\"><a href=\"/\">首页</a> · <a href=\"/list/0/\">最新分享</a> · "
            "<a href=\"/service.html\">联系客服</a>\n"
            "<form action=\"/search\" method=\"get\"><input type=\"search\" name=\"q\"> "
            "<button type=\"submit\">搜索</button></form></header>\n<main>\n";
    html += body;
    html += "</main>\n<footer class=\"site-foot\">本站资源均来自网友分享，仅供学习交流。</footer>\n</body>\n</html>\n";
    return html;
}

std::string shareList(const std::vector<Entry> &entries)
{
    std::string html = "<ul class=\"share-list\">\n";
    for (const Entry &entry : entries) {
        html += "<li class=\"share-card\" data-sid=\"" + entry.entryId + "\"><a href=\"/item/" + entry.entryId
              + ".htm\"><strong class=\"share-name\">" + entry.title + "</strong></a> <span class=\"share-files\">"
              + entry.fileCount + "</span> <span class=\"share-pwd\">" + entry.extractionCode + "</span></li>\n";
    }
    return html + "</ul>\n";
}

std::string pager(int page)
{
    std::string nav = "<nav class=\"pager\">";
    nav += page > 0 ? "<a href=\"" + listingPath(page - 1) + "\">‹ 前一页</a>" : std::string("‹ 前一页");
    nav += " <em>第" + std::to_string(page) + "页</em> <a href=\"" + listingPath(page + 1) + "\">后一页 ›</a></nav>\n";
    return nav;
}

} // namespace

std::string listingPath(int page)
{
    return "/list/" + std::to_string(page) + "/";
}

std::string listingPage(int page, const std::vector<Entry> &entries)
{
    if (entries.empty()) {
        return document("分享列表", "<p class=\"share-none\">分享已全部列出。<a href=\"" + listingPath(Catalog::kLastPage)
                                     + "\">回到最后一页</a></p>\n");
    }
    return document("最新分享 第" + std::to_string(page) + "页", pager(page) + shareList(entries) + pager(page));
}

std::string searchPage(const std::string &keyword, const std::vector<Entry> &entries)
{
    const std::string shown = escapedHtml(keyword);
    if (entries.empty())
        return document("搜索 " + shown, "<p class=\"share-none\">找不到与“" + shown + "”相关的分享。</p>\n");
    return document("搜索 " + shown, "<h2 class=\"search-head\">“" + shown + "”的搜索结果</h2>\n" + shareList(entries));
}

std::string detailPage(const Entry &entry, const std::string &sharePrefix)
{
    return document(entry.title, "<article class=\"share-detail\">\n<h1>" + entry.title + "</h1>\n<p>文件数："
                                     + entry.fileCount + " · 提取码：" + entry.extractionCode
                                     + "</p>\n<p><a class=\"go-pan\" href=\"" + sharePrefix + entry.shareCode
                                     + entry.detailSuffix + "\" rel=\"nofollow\">前往网盘下载</a></p>\n</article>\n");
}

std::string homePage()
{
    return document("云盘搜", "<p class=\"intro\">每天都有新的云盘分享。<a href=\"/list/0/\">看看最新分享</a></p>\n");
}

} // namespace AltLayout

} // namespace DemoSite
