#include "login/outcomereport.h"

using namespace Qt::StringLiterals;

namespace Login {

OutcomeReport reportOf(const LoginResult &result)
{
    OutcomeReport report;
    switch (result.outcome) {
    case LoginOutcome::NoConnection:
        report.message = u"请检查您的网络链接情况"_s;
        report.warning = true;
        report.status = u"请检查您的网络链接"_s;
        break;
    case LoginOutcome::Success:
        break;
    case LoginOutcome::LoginDataError:
        report.message = u"抱歉!登陆数据出错!请您点击重新登陆!"_s;
        report.logsOut = true;
        break;
    case LoginOutcome::Banned:
        report.message = u"您因违反Vorlen相关规定,现已做封号处理!"_s;
        report.warning = true;
        report.status = u"您的帐号已被禁止使用!"_s;
        report.logsOut = true;
        break;
    case LoginOutcome::FailureText:
    case LoginOutcome::ForumMessage:
        report.message = result.message;
        report.warning = true;
        report.status = result.message;
        break;
    case LoginOutcome::ForumFailure:
        report.message = u"论坛故障,暂时无法登录!请联系客服QQ：60718293"_s;
        break;
    }
    return report;
}

} // namespace Login
