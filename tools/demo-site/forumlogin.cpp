#include "demo-site/forumlogin.h"

#include "demo-site/routes.h"

#include <map>
#include <string>
#include <string_view>

namespace DemoSite {

namespace {

constexpr char kLoginPath[] = "/forum/member.php";
constexpr char kFormHash[] = "5c2e91ab";
constexpr char kPassword[] = "demo123";
constexpr char kXmlContentType[] = "text/xml; charset=gbk";

struct Account
{
    std::string password;
    std::string group; // as the forum marks it up
    std::string uid;
    int question = 0;
    std::string answer;
    bool nameless = false; // the welcome names nobody
};

const std::map<std::string, Account, std::less<>> &accounts()
{
    static const std::map<std::string, Account, std::less<>> table{
        {"demo", {kPassword, "<font color=\"#FF6600\"><b>VIP会员</b></font>", "42", 0, {}, false}},
        {"提问者", {kPassword, "<font color=\"#0099FF\">注册会员</font>", "1234", 3, "北京", false}},
        {"tricky", {"p&w=+% 密", "<b>注册会员</b>", "7", 0, {}, false}},
        {"banned", {kPassword, "<font color=\"#999999\"><b>禁止发言</b></font>", "13", 0, {}, false}},
        {"ghost", {kPassword, "<b>注册会员</b>", "99", 0, {}, true}},
    };
    return table;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A form value's bytes as PHP decodes them: "+" is a space, "%XX" a byte.
std::string formDecode(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            bytes += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            bytes += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

// The body's fields, GBK text as UTF-8; a later field of the same name wins, as in PHP.
std::map<std::string, std::string> formFields(std::string_view body)
{
    std::map<std::string, std::string> fields;
    while (!body.empty()) {
        const std::size_t amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        const std::size_t equals = pair.find('=');
        const std::string_view name = pair.substr(0, equals);
        const std::string_view value = equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
        fields[gbkToUtf8(formDecode(name))] = gbkToUtf8(formDecode(value));
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
    }
    return fields;
}

std::string xmlAnswer(const std::string &cdata)
{
    return "<?xml version=\"1.0\" encoding=\"gbk\"?>\r\n<root><![CDATA[" + cdata + "]]></root>";
}

std::string welcome(const std::string &name, const Account &account, const std::string &referer)
{
    const std::string text = "欢迎您回来，" + account.group + " " + name + "，现在将转入登录前页面";
    return xmlAnswer(text + " <script type=\"text/javascript\" reload=\"1\">if(typeof succeedhandle_login=='function') "
                     "{succeedhandle_login('" + referer + "', '" + text + "', {'username':'" + name + "','usergroup':'"
                     + account.group + "','uid':'" + account.uid + "','groupid':'10','syn':'0'});}hideWindow('login');"
                     "showDialog('" + text + "', 'right', null, function () { window.location.href ='" + referer
                     + "'; }, 0, null, '', '', '', '', 3);</script>");
}

// What the forum answers to one login form.
void answerLogin(const httplib::Request &request, httplib::Response &response)
{
    if (request.get_param_value("mod") != "logging" || request.get_param_value("action") != "login") {
        response.status = 404;
        return;
    }
    const std::map<std::string, std::string> fields = formFields(request.body);
    auto field = [&fields](const char *name) {
        const auto found = fields.find(name);
        return found == fields.end() ? std::string() : found->second;
    };
    if (field("formhash") != kFormHash) {
        response.status = 503;
        setGbk(response, "<html><head><title>503 Service Unavailable</title></head><body><h1>Service Unavailable</h1>"
                         "<p>The server is temporarily unable to service your request.</p></body></html>",
               "text/html; charset=gbk");
        return;
    }
    const std::string name = field("username");
    if (name == "notice") {
        setLoginMessage(response, "抱歉，您的帐号正在审核中，请耐心等待");
        return;
    }
    if (name == "broken") {
        setGbk(response, "<?xml version=\"1.0\" encoding=\"gbk\"?>\r\n<root><![CDATA[<script type=\"text/javascript\" reload=",
               kXmlContentType);
        return;
    }
    const auto found = accounts().find(name);
    const bool accepted = found != accounts().end() && field("password") == found->second.password
        && (found->second.question == 0
            || (field("questionid") == std::to_string(found->second.question) && field("answer") == found->second.answer));
    if (!accepted) {
        setLoginMessage(response, "登录失败，您还可以尝试 4 次", "'loginperm':'4'");
        return;
    }
    const Account &account = found->second;
    response.set_header("Set-Cookie", std::string(kLoginCookie) + "=" + account.uid + "; path=/; HttpOnly");
    setGbk(response, welcome(account.nameless ? std::string() : name, account, field("referer")), kXmlContentType);
}

} // namespace

void setLoginMessage(httplib::Response &response, const std::string &message, const std::string &extra)
{
    setGbk(response,
           xmlAnswer(message
                     + "<script type=\"text/javascript\" reload=\"1\">if(typeof errorhandle_login=='function') "
                       "{errorhandle_login('"
                     + message + "', {" + extra + "});}</script>"),
           kXmlContentType);
}

bool isForumLogin(const httplib::Request &request)
{
    return request.method == "POST" && request.path == kLoginPath;
}

void addForumLogin(httplib::Server &http, std::function<void(const httplib::Request &, httplib::Response &)> alter)
{
    http.Post(kLoginPath, [alter = std::move(alter)](const httplib::Request &request, httplib::Response &response) {
        answerLogin(request, response);
        if (alter)
            alter(request, response);
    });
}

} // namespace DemoSite
