#include "demo-site/pages.h"

#include <string_view>

namespace DemoSite {

namespace {

constexpr std::string_view kSiteName = "盘搜分享";

// The frame of every site page. Links are relative so that no page but a detail page
// ever holds the share-link prefix.
std::string document(std::string_view title, std::string_view body)
{
    std::string html;
    html.reserve(body.size() + 1024);
    html += "<!DOCTYPE html>\n<html>\n<head>\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n<title>";
    html += title;
    html += " - ";
    html += kSiteName;
    html += "</title>\n</head>\n<body>\n"
            "<div class='head'><a href='/'>首页</a> | <a href='/act-0.html'>最新分享</a> | "
            "<a href='/service.html'>联系客服</a>\n"
            "<form action='/' method='get'><input type='text' name='wd' size='30' /> "
            "<input type='submit' name='submit' value='开始搜索' /></form></div>\n";
    html += body;
    html += "<div class='foot'>本站资源均来自网友分享，仅供学习交流。"
            "如有侵权请<a href='/service.html'>联系我们</a>删除。 &copy; 2013</div>\n"
            "</body>\n</html>\n";
    return html;
}

std::string pageLink(int page, std::string_view text)
{
    return "<a href='act-" + std::to_string(page) + ".html'>" + std::string(text) + "</a>";
}

std::string navigation(int page)
{
    std::string nav = "<div class='pages'>";
    nav += page > 0 ? pageLink(page - 1, "上一页") : std::string("上一页");
    nav += " <b>第" + std::to_string(page) + "页</b> ";
    nav += pageLink(page + 1, "下一页");
    nav += "</div>\n";
    return nav;
}

void appendEntry(std::string &html, const Entry &entry)
{
    html += "<dd class='fff' id='" + entry.entryId + "'><a href='id-" + entry.entryId
          + ".html' target='_blank'><dfn>" + entry.title + "</dfn></a> 文件数：<span class='ssite'>"
          + entry.fileCount + "</span> 提取码：<span class='sma'>" + entry.extractionCode
          + "</span></dd>\n";
}

} // namespace

std::string listingPage(int page, const std::vector<Entry> &entries)
{
    if (entries.empty()) {
        return document("没有更多资源", "<div class='empty'>没有更多资源了。<a href='act-"
                        + std::to_string(Catalog::kLastPage) + ".html'>返回最后一页</a></div>\n");
    }
    std::string body = navigation(page);
    body += "<dl class='list'>\n<dt>资源名称 / 文件数 / 提取码</dt>\n";
    for (const Entry &entry : entries)
        appendEntry(body, entry);
    body += "</dl>\n";
    body += navigation(page);
    return document("云盘资源 第" + std::to_string(page) + "页", body);
}

std::string escapedHtml(const std::string &text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '&': escaped += "&amp;"; break;
        case '\'': escaped += "&#39;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string searchPage(const std::string &keyword, const std::vector<Entry> &entries)
{
    const std::string shown = escapedHtml(keyword);
    if (entries.empty())
        return document("搜索 " + shown, "<div class='empty'>没有找到与“" + shown + "”相关的资源。</div>\n");
    std::string body = "<div class='pages'>搜索“" + shown + "”的结果</div>\n<dl class='list'>\n<dt>资源名称 / 文件数 / 提取码</dt>\n";
    for (const Entry &entry : entries)
        appendEntry(body, entry);
    body += "</dl>\n";
    return document("搜索 " + shown, body);
}

std::string detailPage(const Entry &entry, const std::string &sharePrefix)
{
    const std::string body = "<div class='detail'>\n<h1>" + entry.title + "</h1>\n<p>文件数："
        + entry.fileCount + "</p>\n<p>提取码：<b>" + entry.extractionCode + "</b></p>\n<p>分享地址：<a href=\""
        + sharePrefix + entry.shareCode + entry.detailSuffix
        + "\" target=\"_blank\" rel=\"nofollow\">点此进入云盘下载</a></p>\n</div>\n";
    return document(entry.title, body);
}

std::string sharePage(const Entry &entry)
{
    return "<!DOCTYPE html>\n<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n<title>"
         + entry.title + " - 云盘分享</title>\n</head>\n<body>\n<h1>云盘分享</h1>\n<p>分享的文件：" + entry.title
         + "（" + entry.fileCount + "）</p>\n<p><a href='#'>全部下载</a> <a href='#'>保存到我的云盘</a></p>\n"
           "</body>\n</html>\n";
}

std::string homePage()
{
    return document("云盘资源搜索", "<div class='intro'>每日更新的云盘分享。<a href='act-0.html'>"
                                       "从最新分享开始浏览</a></div>\n");
}

std::string notFoundPage()
{
    return document("页面不存在", "<h1>404</h1>\n<p>您访问的页面不存在或已被删除。</p>\n");
}

std::string probePage()
{
    return "<!DOCTYPE html>\n<html><head><title>probe</title></head><body>ok</body></html>\n";
}

std::string servicePage()
{
    return document("客服中心", "<h1>客服中心</h1>\n<p>工作时间：每天 9:00 - 22:00</p>\n"
                                "<p>客服QQ：800000360</p>\n");
}

std::string versionFile(const std::string &version)
{
    return "Vorlen software versions\r\n360:" + version + "|\r\nyp:V2.1|\r\n";
}

} // namespace DemoSite
