#pragma once

#include <httplib.h>

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The maker's community forum under "/forum/": the member script (logout, registration), the
// user centre's avatar store and a session cookie that lets a test see whether a client still
// carries it. It remembers whose login each logout ended.
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

    // The login cookie (kLoginCookie, the UID) each logout carried, in order; "" for none.
    std::vector<std::string> logouts() const;

private:
    void serveHome(const httplib::Request &request, httplib::Response &response) const;
    void serveMemberScript(const httplib::Request &request, httplib::Response &response) const;
    static void serveAvatar(std::string_view storePath, httplib::Response &response);

    mutable std::atomic<int> m_sessions{0};
    mutable std::mutex m_mutex;
    mutable std::vector<std::string> m_logouts; // under m_mutex
};

} // namespace DemoSite
