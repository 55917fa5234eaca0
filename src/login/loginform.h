#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The forum's AJAX login request, built from what the user typed.
namespace Login {

// The security questions are 1..kHighestQuestion; 0 is none.
inline constexpr int kHighestQuestion = 7;

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
