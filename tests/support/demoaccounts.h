#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <algorithm>

// The demo forum's accounts, one for each outcome of a login, and what the forum answers about
// each: the one table the exchange, window and command-line tests take their logins from.
struct DemoAccount
{
    QString label;
    QString account;
    QString password;
    int question = 0;
    QString answer;
    QString userName, group, uid; // what a welcome names; empty where the forum names none
};

inline const QList<DemoAccount> &demoAccounts()
{
    using namespace Qt::StringLiterals;
    static const QList<DemoAccount> accounts{
        {u"success"_s, u"demo"_s, u"demo123"_s, 0, {}, u"demo"_s, u"VIP会员"_s, u"42"_s},
        {u"with question"_s, u"提问者"_s, u"demo123"_s, 3, u"北京"_s, u"提问者"_s, u"注册会员"_s, u"1234"_s},
        {u"question left out"_s, u"提问者"_s, u"demo123"_s, 0, {}, {}, {}, {}},
        {u"password of reserved bytes"_s, u"tricky"_s, u"p&w=+% 密"_s, 0, {}, u"tricky"_s, u"注册会员"_s, u"7"_s},
        {u"wrong password"_s, u"demo"_s, u"demo1234"_s, 0, {}, {}, {}, {}},
        {u"banned"_s, u"banned"_s, u"demo123"_s, 0, {}, u"banned"_s, u"禁止发言"_s, u"13"_s},
        {u"login data error"_s, u"ghost"_s, u"demo123"_s, 0, {}, {}, u"注册会员"_s, u"99"_s},
        {u"forum message"_s, u"notice"_s, u"x"_s, 0, {}, {}, {}, {}},
        {u"broken answer"_s, u"broken"_s, u"x"_s, 0, {}, {}, {}, {}},
    };
    return accounts;
}

// The account of that label; the tests name only labels of the table.
inline const DemoAccount &demoAccount(QStringView label)
{
    const auto &accounts = demoAccounts();
    return *std::find_if(accounts.begin(), accounts.end(), [label](const DemoAccount &a) { return a.label == label; });
}
