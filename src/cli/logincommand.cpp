#include "cli/logincommand.h"

#include "cli/commandarguments.h"
#include "cli/passwordoption.h"
#include "login/exchange.h"
#include "login/loginform.h"
#include "login/logout.h"
#include "login/outcomereport.h"
#include "net/networkaccess.h"
#include "text/printable.h"
#include "text/wholenumber.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

// How long the tool waits for the forum to answer its logout before it ends.
constexpr std::chrono::milliseconds kLogoutWait = std::chrono::seconds(3);

struct LoginOptions
{
    Login::LoginForm form;
    QString error; // empty when the arguments are fine
};

// The window's own input checks, in its order and words.
LoginOptions parseOptions(const Context &context)
{
    LoginOptions options;
    const CommandArguments arguments =
        parseCommandArguments(context.arguments, kLoginOptions);
    QString &error = options.error;
    Login::LoginForm &form = options.form;
    form.account = arguments.options.value(u"user"_s);
    form.answer = arguments.options.value(u"answer"_s);
    const bool withQuestion = arguments.options.contains(u"question"_s);
    const QString question = arguments.options.value(u"question"_s);
    form.question = static_cast<int>(Text::wholeNumber(question, 1, 1, Login::kHighestQuestion).value_or(0));
    if (!arguments.error.isEmpty())
        error = arguments.error;
    else if (!arguments.positional.isEmpty()) // not shown: it may be a password given without its option
        error = u"unexpected argument; the password goes after --password or on standard input with --password-stdin"_s;
    else if (withQuestion && form.question == 0)
        error = u"--question: a number from 1 to %1, not %2"_s.arg(Login::kHighestQuestion).arg(question);
    else if (!withQuestion && arguments.options.contains(u"answer"_s))
        error = u"--answer needs --question"_s;
    if (error.isEmpty() && !form.account.isEmpty()) // no prompt for a login refused anyway
        form.password = readPassword(context, arguments, error).value_or(QString());
    if (!error.isEmpty())
        error.prepend(u"login: "_s);
    else
        error = Login::inputRefusal(form);
    return options;
}

int exitCodeOf(Login::LoginOutcome outcome)
{
    switch (outcome) {
    case Login::LoginOutcome::Success:
        return Success;
    case Login::LoginOutcome::NoConnection:
        return Unreachable;
    case Login::LoginOutcome::ForumFailure:
        return NotUnderstood;
    case Login::LoginOutcome::LoginDataError:
    case Login::LoginOutcome::Banned:
    case Login::LoginOutcome::FailureText:
    case Login::LoginOutcome::ForumMessage:
        break;
    }
    return Failure;
}

// Ends the forum login as the window does, and waits a little for the forum's answer: the
// process ends next, and a request still queued would never leave.
void logOut(const Context &context)
{
    const auto wait = std::min(kLogoutWait, context.endpoints.timeout);
    QEventLoop loop;
    QObject::connect(&Net::networkManager(), &QNetworkAccessManager::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    Login::endForumLogin(context.endpoints.forum, wait);
    loop.exec();
}

} // namespace

int runLogin(const Context &context)
{
    const LoginOptions options = parseOptions(context);
    if (!options.error.isEmpty())
        return usageError(context, options.error);

    Login::Exchange exchange(context.endpoints);
    std::optional<Login::LoginResult> result;
    QEventLoop loop;
    QObject::connect(&exchange, &Login::Exchange::statusChanged, [&context](const QString &text) {
        context.err << Text::printable(text) << '\n';
        context.err.flush();
    });
    QObject::connect(&exchange, &Login::Exchange::finished, [&](const Login::LoginResult &finished) {
        result = finished;
        loop.quit();
    });
    exchange.start(options.form);
    if (!result)
        loop.exec();
    if (!result) // the application is quitting
        return Unreachable;

    // What the forum wrote goes to a terminal or into a TSV line: no control character passes.
    if (result->outcome == Login::LoginOutcome::Success) {
        context.out << Text::printable(result->userName) << '\t' << Text::printable(result->userGroup) << '\t'
                    << Text::printable(result->uid.value_or(QString())) << '\n';
        return Success;
    }
    const Login::OutcomeReport report = Login::reportOf(*result);
    if (report.message && !report.message->isEmpty())
        context.err << Text::printable(*report.message) << '\n';
    if (report.logsOut)
        logOut(context);
    return exitCodeOf(result->outcome);
}

} // namespace Cli
