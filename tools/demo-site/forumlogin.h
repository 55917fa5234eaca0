#pragma once

#include <httplib.h>

#include <functional>

// The forum's AJAX login at "/forum/member.php?mod=logging&action=login...", answered in the
// forum's own format: an XML document in GBK whose CDATA section holds the message and a
// script calling succeedhandle_login or errorhandle_login. Demo accounts (password "demo123"
// unless noted):
//   demo                      welcomed, group VIP会员, UID 42
//   提问者                    welcomed with question 3 answered 北京, UID 1234
//   tricky                    welcomed with the password "p&w=+% 密"
//   banned                    welcomed into the group 禁止发言
//   ghost                     welcomed without a user name (the login-data error)
//   notice (any password)     a forum message through errorhandle_login
//   broken (any password)     an answer cut off inside its CDATA section
// A wrong password gets "登录失败，您还可以尝试 4 次"; a form without the forum's formhash gets a
// 503 page. A welcomed login sets the cookie kLoginCookie for the whole site.
namespace DemoSite {

inline constexpr char kLoginCookie[] = "vorlen_auth";

// Whether request is the login POST, which the site answers through the route below.
bool isForumLogin(const httplib::Request &request);

// Answers the login with the forum's message (UTF-8 here, GBK on the wire), the text before
// the script and the first argument of errorhandle_login; extra is the script's second argument.
void setLoginMessage(httplib::Response &response, const std::string &message, const std::string &extra = {});

// Adds the login route to http; alter, when given, changes each answer before it is sent (its
// length and compression follow from what alter leaves).
void addForumLogin(httplib::Server &http, std::function<void(const httplib::Request &, httplib::Response &)> alter = {});

} // namespace DemoSite
