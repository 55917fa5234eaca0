#pragma once

#include <QString>

#include <chrono>

// Ends the forum login of this process.
namespace Login {

// Sends the forum's logout GET (forumBaseUrl + "member.php?mod=logging&action=logout", with a
// Referer of forumBaseUrl and a form content type) without waiting for it, then drops every
// cookie of the process's cookie store, so later forum requests are anonymous. The answer is
// never read and its cookies are never stored. Nothing on disk is touched. A forum that cannot
// be reached changes nothing: the cookies are dropped all the same.
void endForumLogin(const QString &forumBaseUrl, std::chrono::milliseconds transferTimeout);

} // namespace Login
