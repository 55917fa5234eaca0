#pragma once

#include "login/loginanswer.h"

#include <QString>

#include <optional>

// How each outcome of a login is shown, so every front end says the same.
namespace Login {

struct OutcomeReport
{
    std::optional<QString> message; // the message box text; none on success
    bool warning = false;           // warning icon, else information
    std::optional<QString> status;  // the new status text; none leaves it as it is
    bool inputEnabled = false;      // the input is given back to the user
    bool closesWindow = false;      // the login window closes
    bool logsOut = false;           // the forum login is ended again
};

OutcomeReport reportOf(const LoginResult &result);

} // namespace Login
