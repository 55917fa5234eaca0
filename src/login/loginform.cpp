#include "login/loginform.h"

#include "text/gbk.h"

using namespace Qt::StringLiterals;

namespace Login {

namespace {

// Fixed tokens the forum's login form is sent with.
constexpr char kFormHash[] = "5c2e91ab";
constexpr char kLoginHash[] = "Tq8mW";

// The referer field: the forum's address with ":" and "/" escaped, the rest as it is.
QByteArray escapedReferer(const QString &forumBase)
{
    QString referer = forumBase;
    referer.replace(u':', u"%3A"_s).replace(u'/', u"%2F"_s);
    return Text::toGbk(referer);
}

// Every GBK byte of text outside A-Z, a-z, 0-9 and "-_.*" as "%" and two upper-case hex digits.
QByteArray formEncode(QStringView text)
{
    // Qt keeps A-Z, a-z, 0-9 and "-._~" as they are; the form keeps "*" too and escapes "~".
    return Text::toGbk(text).toPercentEncoding("*", "~");
}

} // namespace

QString loginUrl(const QString &forumBase)
{
    return forumBase + u"member.php?mod=logging&action=login&loginsubmit=yes&handlekey=login&loginhash="_s
        + QLatin1String(kLoginHash) + u"&inajax=1"_s;
}

QByteArray loginBody(const QString &forumBase, const LoginForm &form)
{
    QByteArray body = "formhash="_ba + kFormHash + "&referer=" + escapedReferer(forumBase) + "&username="
        + formEncode(form.account) + "&password=" + formEncode(form.password);
    if (form.carriesQuestion())
        body += "&questionid=" + QByteArray::number(form.question) + "&answer=" + formEncode(form.answer);
    return body;
}

QString inputRefusal(const LoginForm &form)
{
    if (form.account.isEmpty())
        return u"请输入用户帐号，用户名或UID.."_s;
    if (form.password.isEmpty())
        return u"请输入密码.."_s;
    if (form.question != 0 && form.answer.isEmpty())
        return u"请输入安全提问答案.."_s;
    return {};
}

QString loginStatus(const LoginForm &form)
{
    if (form.carriesQuestion())
        return u"正在为您登录账号.."_s;
    return u"正在为您登录账号["_s + form.account + u"].."_s;
}

} // namespace Login
