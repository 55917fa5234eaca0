#include "demo-site/forum.h"

#include "demo-site/forumlogin.h"
#include "demo-site/routes.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace DemoSite {

namespace {

constexpr std::string_view kAvatarStore = "uc_server/data/avatar/";
constexpr std::string_view kAvatarSuffix = "_avatar_middle.jpg";
constexpr std::array<int, 4> kStoredAvatars{1, 7, 42, 12345};
constexpr int kAvatarSide = 120;

std::string forumPage(std::string_view title, std::string_view body)
{
    std::string html = "<!DOCTYPE html>\n<html>\n<head>\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n<title>";
    html += title;
    html += " - Vorlen社区</title>\n</head>\n<body>\n";
    html += body;
    html += "\n</body>\n</html>\n";
    return html;
}

std::string cookieOf(const httplib::Request &request, std::string_view name)
{
    const std::string prefix = std::string(name) + "=";
    const std::string cookies = request.get_header_value("Cookie");
    for (std::size_t start = 0; start < cookies.size();) {
        const std::size_t end = std::min(cookies.find(';', start), cookies.size());
        std::string_view pair(cookies.data() + start, end - start);
        while (pair.starts_with(' '))
            pair.remove_prefix(1);
        if (pair.starts_with(prefix))
            return std::string(pair.substr(prefix.size()));
        start = end + 1;
    }
    return {};
}

void logout(const httplib::Request &, httplib::Response &response)
{
    response.set_header("Set-Cookie", std::string(Forum::kSessionCookie)
                                          + "=deleted; expires=Thu, 01 Jan 1970 00:00:00 GMT; path=/forum/");
    setGbk(response, forumPage("提示信息", "<p>您已退出站点，现在将以游客身份转入退出前页面。</p>"), kHtml);
}

void registration(const httplib::Request &, httplib::Response &response)
{
    setGbk(response,
           forumPage("立即注册", "<h1>立即注册</h1>\n<form method='post' action='member.php?mod=register'>"
                                 "用户名：<input name='username' /> 密码：<input type='password' name='password' /> "
                                 "<input type='submit' value='提交' /></form>"),
           kHtml);
}

// What member.php does, by method, "mod" and "action" ("" matches a missing action).
struct MemberAction
{
    std::string_view method;
    std::string_view mod;
    std::string_view action;
    void (*answer)(const httplib::Request &request, httplib::Response &response);
    bool endsLogin = false;
};

constexpr MemberAction kMemberActions[] = {
    {"GET", "logging", "logout", &logout, true},
    {"GET", "register", "", &registration},
};

// "DDD/DD/DD/DD": the nine digits of a store path as a number; -1 for any other form.
int uidOfStorePath(std::string_view digits)
{
    if (digits.size() != 12 || digits[3] != '/' || digits[6] != '/' || digits[9] != '/')
        return -1;
    int uid = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i == 3 || i == 6 || i == 9)
            continue;
        if (digits[i] < '0' || digits[i] > '9')
            return -1;
        uid = uid * 10 + (digits[i] - '0');
    }
    return uid;
}

void appendLittleEndian(std::string &bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

bool Forum::hasAvatar(int uid)
{
    return std::find(kStoredAvatars.begin(), kStoredAvatars.end(), uid) != kStoredAvatars.end();
}

std::string Forum::avatarPicture(int uid)
{
    constexpr int rowBytes = kAvatarSide * 3; // a multiple of four: no row padding
    constexpr std::uint32_t headerBytes = 14 + 40;
    std::string bmp;
    bmp.reserve(headerBytes + rowBytes * kAvatarSide);
    bmp += "BM";
    appendLittleEndian(bmp, headerBytes + rowBytes * kAvatarSide, 4);
    appendLittleEndian(bmp, 0, 4);
    appendLittleEndian(bmp, headerBytes, 4);
    appendLittleEndian(bmp, 40, 4);
    appendLittleEndian(bmp, kAvatarSide, 4);
    appendLittleEndian(bmp, kAvatarSide, 4);
    appendLittleEndian(bmp, 1, 2);  // planes
    appendLittleEndian(bmp, 24, 2); // bits per pixel
    for (int i = 0; i < 6; ++i)
        appendLittleEndian(bmp, 0, 4); // no compression, default resolution and palette
    const auto shade = [uid](int factor) { return static_cast<char>(64 + (uid * factor) % 160); };
    const char blue = shade(37), green = shade(91), red = shade(53);
    for (int y = 0; y < kAvatarSide; ++y) {
        for (int x = 0; x < kAvatarSide; ++x) {
            const int dx = x - kAvatarSide / 2, dy = y - kAvatarSide / 2;
            const bool disc = dx * dx + dy * dy < 30 * 30;
            bmp += disc ? '\xF0' : blue;
            bmp += disc ? '\xF0' : green;
            bmp += disc ? '\xF0' : red;
        }
    }
    return bmp;
}

bool Forum::serve(const httplib::Request &request, httplib::Response &response) const
{
    const std::string_view path(request.path);
    if (!path.starts_with(kPath))
        return false;
    const std::string_view rest = path.substr(kPath.size());
    if (rest.empty() && request.method == "GET")
        serveHome(request, response);
    else if (rest == "member.php")
        serveMemberScript(request, response);
    else if (rest.starts_with(kAvatarStore) && request.method == "GET")
        serveAvatar(rest.substr(kAvatarStore.size()), response);
    else
        Routes::notFound(response);
    return true;
}

// A visitor without a session gets one; the page names the session the request carried.
void Forum::serveHome(const httplib::Request &request, httplib::Response &response) const
{
    const std::string carried = cookieOf(request, kSessionCookie);
    if (carried.empty())
        response.set_header("Set-Cookie",
                            std::string(kSessionCookie) + "=s" + std::to_string(++m_sessions) + "; path=/forum/");
    setGbk(response, forumPage("首页", "<p>当前会话：" + (carried.empty() ? std::string("无") : carried) + "</p>"), kHtml);
}

void Forum::serveMemberScript(const httplib::Request &request, httplib::Response &response) const
{
    const std::string mod = request.get_param_value("mod");
    const std::string action = request.get_param_value("action");
    for (const MemberAction &known : kMemberActions) {
        if (known.method == request.method && known.mod == mod && known.action == action) {
            if (known.endsLogin) {
                const std::lock_guard lock(m_mutex);
                m_logouts.push_back(cookieOf(request, kLoginCookie));
            }
            return known.answer(request, response);
        }
    }
    Routes::notFound(response);
}

std::vector<std::string> Forum::logouts() const
{
    const std::lock_guard lock(m_mutex);
    return m_logouts;
}

void Forum::serveAvatar(std::string_view storePath, httplib::Response &response)
{
    const int uid = storePath.ends_with(kAvatarSuffix)
        ? uidOfStorePath(storePath.substr(0, storePath.size() - kAvatarSuffix.size()))
        : -1;
    if (!hasAvatar(uid))
        return Routes::notFound(response);
    const std::string picture = avatarPicture(uid);
    response.set_content(picture.data(), picture.size(), "image/bmp");
}

} // namespace DemoSite
