#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>

// The forum's AJAX login request, built from what the user typed.
namespace Login {

// The forum's security questions in the order of its form: item 0 asks none, items
// 1..kHighestQuestion are the questions the forum knows by those numbers.
inline constexpr std::array<QStringView, 8> kSecurityQuestions{
    u"安全提问",         u"母亲的名字",         u"爷爷的名字",       u"父亲出生的城市",
    u"您其中一位老师的名字", u"您个人计算机的型号", u"您最喜欢的餐馆名称", u"驾驶执照的最后四位数字",
};
inline constexpr int kHighestQuestion = int(kSecurityQuestions.size()) - 1;

struct LoginForm
{
    QString account;
    QString password;
    int question = 0; // 0: no security question
    QString answer;

    // The request carries the question only when one is selected and answered.
    bool carriesQuestion() const { return question != 0 && !answer.isEmpty(); }
};

// The login window's input checks, in its order and words: the message of the first that
// fails, or "" when the form may be sent.
QString inputRefusal(const LoginForm &form);

// forumBase + the member script's login query.
QString loginUrl(const QString &forumBase);

// The form body as GBK bytes: formhash, referer, username, password, then questionid and answer
// when the form carries its question. The account, the password and the answer are
// percent-encoded, so "&", "=", "+" or "%" in them reach the forum as typed.
QByteArray loginBody(const QString &forumBase, const LoginForm &form);

// The status text while the request is under way.
QString loginStatus(const LoginForm &form);

} // namespace Login
