#pragma once

#include "login/loginanswer.h"

#include <QString>

#include <optional>

// What each outcome of a login says, so every front end says the same; what becomes of a
// window is the window's business.
namespace Login {

struct OutcomeReport
{
    std::optional<QString> message; // the message box text; none on success
    bool warning = false;           // warning icon, else information
    std::optional<QString> status;  // the new status text; none leaves it as it is
    bool logsOut = false;           // the forum login is ended again
};

OutcomeReport reportOf(const LoginResult &result);

} // namespace Login
