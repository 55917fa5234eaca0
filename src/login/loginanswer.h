#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What the forum's answer to a login means. The answer is read by marker texts and by its
// apostrophe-separated pieces, not as markup: that is all the forum promises about it.
namespace Login {

enum class LoginOutcome {
    NoConnection,   // the probe or the login request got no answer
    Success,        // welcomed, with a user name and a user group
    LoginDataError, // welcomed, but the user name or the user group is missing
    Banned,         // welcomed into a group whose name holds "禁止"
    FailureText,    // the forum's failure text ("失败")
    ForumMessage,   // another message of the forum
    ForumFailure,   // an answer that says nothing this program understands
};

struct LoginResult
{
    LoginOutcome outcome = LoginOutcome::NoConnection;
    QString message;   // the forum's text for FailureText and ForumMessage
    QString userName;  // welcomed answers: piece 9
    QString userGroup; // welcomed answers: piece 13, font and bold tags removed
    std::optional<QString> uid; // welcomed answers with a piece 17
};

// Sorts a whole answer into one outcome: "欢迎您回来" first, then "失败", then
// "errorhandle_login" (its message is piece 3, untrimmed), then the CDATA text; an empty message
// is the forum failure. Never NoConnection.
LoginResult classifyAnswer(QStringView answer);

} // namespace Login
