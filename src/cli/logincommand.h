#pragma once

#include "cli/context.h"
#include "cli/passwordoption.h"

namespace Cli {

// "login --user NAME --password PW|--password-stdin [--question N --answer TEXT]": logs into the
// forum as the login window does, without login.ini. On success prints the user name, group and
// UID separated by tabs, their control characters replaced; after a banned account or a login
// data error the forum login is ended again, as the window does. Exit codes: Success; Failure
// when the forum refuses the login (the message on err); BadUsage; Unreachable when the
// network or the forum does not answer in time; NotUnderstood when the forum's answer
// cannot be read.
int runLogin(const Context &context);

inline constexpr char kLoginSynopsis[] =
    "  login --user NAME --password PW|--password-stdin [--question N --answer TEXT]\n"
    "      log into the forum (security question N from 1 to 7); prints name, group and UID\n"
    "      separated by tabs; exit 0 logged in, 1 refused, 2 bad usage, 3 no network or\n"
    "      timeout, 5 forum failure";

inline constexpr OptionSpec kLoginOptions[] = {
    {"user", "NAME", "the account: user name or UID"},
    kPasswordSpec,
    kPasswordStdinSpec,
    {"question", "N", "the security question by its number in the login window's list, 1..7"},
    {"answer", "TEXT", "the answer to the security question"},
};

} // namespace Cli
