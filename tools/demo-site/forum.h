#pragma once

#include <httplib.h>

#include <atomic>
#include <string>
#include <string_view>

// The maker's community forum under "/forum/": the member script (logout, registration), the
// user centre's avatar store and a session cookie that lets a test see whether a client still
// carries it.
namespace DemoSite {

class Forum
{
public:
    static constexpr std::string_view kPath = "/forum/";
    static constexpr std::string_view kSessionCookie = "vorlen_sid";

    // True for the UIDs whose avatar the store holds: 1, 7, 42 and 12345.
    static bool hasAvatar(int uid);
    // The stored avatar of uid: a 120 x 120 bitmap in a colour of its own.
    static std::string avatarPicture(int uid);

    // Answers a request below kPath; false, response untouched, for any other path.
    bool serve(const httplib::Request &request, httplib::Response &response) const;

private:
    void serveHome(const httplib::Request &request, httplib::Response &response) const;
    static void serveMemberScript(const httplib::Request &request, httplib::Response &response);
    static void serveAvatar(std::string_view storePath, httplib::Response &response);

    mutable std::atomic<int> m_sessions{0};
};

} // namespace DemoSite
