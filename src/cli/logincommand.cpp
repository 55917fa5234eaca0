#include "cli/logincommand.h"

#include "cli/commandarguments.h"
#include "login/exchange.h"
#include "login/loginform.h"
#include "login/outcomereport.h"

#include <QEventLoop>

#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

struct LoginOptions
{
    Login::LoginForm form;
    QString error; // empty when the arguments are fine
};

// The window's own input checks, in its order and words.
LoginOptions parseOptions(const QStringList &words)
{
    LoginOptions options;
    const CommandArguments arguments = parseCommandArguments(words, {"user", "password", "question", "answer"});
    if (!arguments.error.isEmpty()) {
        options.error = u"login: "_s + arguments.error;
        return options;
    }
    if (!arguments.positional.isEmpty()) {
        options.error = u"login: unexpected argument "_s + arguments.positional.first();
        return options;
    }
    Login::LoginForm &form = options.form;
    form.account = arguments.options.value(u"user"_s);
    form.password = arguments.options.value(u"password"_s);
    form.answer = arguments.options.value(u"answer"_s);
    if (arguments.options.contains(u"question"_s)) {
        const QString value = arguments.options.value(u"question"_s);
        bool ok = false;
        form.question = value.toInt(&ok);
        if (!ok || form.question < 0 || form.question > Login::kHighestQuestion || value.startsWith(u'+'))
            options.error = u"--question: a number from 0 to 7, not "_s + value;
    }
    if (options.error.isEmpty())
        options.error = Login::inputRefusal(form);
    return options;
}

int exitCodeOf(Login::LoginOutcome outcome)
{
    switch (outcome) {
    case Login::LoginOutcome::Success:
        return Success;
    case Login::LoginOutcome::NoConnection:
        return LoginUnreachable;
    case Login::LoginOutcome::ForumFailure:
        return LoginForumFailure;
    case Login::LoginOutcome::LoginDataError:
    case Login::LoginOutcome::Banned:
    case Login::LoginOutcome::FailureText:
    case Login::LoginOutcome::ForumMessage:
        break;
    }
    return Failure;
}

} // namespace

int runLogin(const Context &context)
{
    const LoginOptions options = parseOptions(context.arguments);
    if (!options.error.isEmpty()) {
        context.err << options.error << '\n' << "usage:\n" << QString::fromUtf8(kLoginUsage) << '\n';
        return BadUsage;
    }

    Login::Exchange exchange(context.endpoints);
    std::optional<Login::LoginResult> result;
    QEventLoop loop;
    QObject::connect(&exchange, &Login::Exchange::statusChanged, [&context](const QString &text) {
        context.err << text << '\n';
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
        return LoginUnreachable;

    if (result->outcome == Login::LoginOutcome::Success) {
        context.out << result->userName << '\t' << result->userGroup << '\t' << result->uid.value_or(QString()) << '\n';
        return Success;
    }
    const Login::OutcomeReport report = Login::reportOf(*result);
    if (report.message && !report.message->isEmpty())
        context.err << *report.message << '\n';
    return exitCodeOf(result->outcome);
}

} // namespace Cli
