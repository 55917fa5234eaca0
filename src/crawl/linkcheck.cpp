#include "crawl/linkcheck.h"

#include <QDateTime>

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace Crawl {

namespace {

using Rule = std::pair<Config::ShareRule Config::ShareRules::*, LinkVerdict>;

// A page that says the share is gone says so whatever else it holds; a captcha may stand on a
// page that asks for the extraction code.
constexpr std::array<Rule, 7> kRuleOrder{
    Rule{&Config::ShareRules::cancelled, {LinkState::Dead, DeadReason::Cancelled}},
    Rule{&Config::ShareRules::expired, {LinkState::Dead, DeadReason::Expired}},
    Rule{&Config::ShareRules::deleted, {LinkState::Dead, DeadReason::Deleted}},
    Rule{&Config::ShareRules::violation, {LinkState::Dead, DeadReason::Violation}},
    Rule{&Config::ShareRules::notFound, {LinkState::Dead, DeadReason::NotFound}},
    Rule{&Config::ShareRules::limited, {LinkState::Limited, DeadReason::None}},
    Rule{&Config::ShareRules::locked, {LinkState::Locked, DeadReason::None}},
};

template<typename Holds>
std::optional<LinkVerdict> firstRule(const Config::ShareRules &rules, Holds holds)
{
    for (const auto &[rule, verdict] : kRuleOrder) {
        if (holds(rules.*rule))
            return verdict;
    }
    return std::nullopt;
}

bool isPage(const Answer &answer)
{
    return answer.status >= 200 && answer.status < 300;
}

} // namespace

LinkVerdict classifyShare(const Answer &answer, const Config::ShareRules &rules)
{
    if (answer.kind != Answer::Kind::Http)
        return {};
    if (const auto byStatus = firstRule(rules, [&](const Config::ShareRule &rule) { return rule.statuses.contains(answer.status); }))
        return *byStatus;
    if (answer.status >= 500)
        return {};
    const auto byWording = firstRule(rules, [&](const Config::ShareRule &rule) {
        return std::any_of(rule.wordings.cbegin(), rule.wordings.cend(),
                           [&](const QString &wording) { return !wording.isEmpty() && answer.body.contains(wording); });
    });
    if (byWording)
        return *byWording;
    if (isPage(answer) && !answer.body.isEmpty())
        return {LinkState::Live, DeadReason::None};
    return {};
}

bool wantsRecheck(const Answer &answer, const LinkVerdict &verdict)
{
    return verdict.state == LinkState::Dead && answer.kind == Answer::Kind::Http && isPage(answer);
}

LinkCheck checkShare(Fetcher &fetcher, const QString &shareUrl, const Config::ShareRules &rules,
                     std::chrono::milliseconds gap)
{
    return checkShareAnswers(fetcher.get(shareUrl), [&] { return fetcher.get(shareUrl, Fetcher::BodyText::Page, gap); },
                             rules);
}

LinkCheck checkShareAnswers(const Answer &first, const std::function<Answer()> &again, const Config::ShareRules &rules)
{
    LinkCheck check{classifyShare(first, rules), QDateTime::currentDateTimeUtc(), first.status};
    if (!wantsRecheck(first, check.verdict))
        return check;
    const Answer second = again();
    const LinkVerdict secondVerdict = classifyShare(second, rules);
    return {secondVerdict == check.verdict ? secondVerdict : LinkVerdict{}, QDateTime::currentDateTimeUtc(), second.status};
}

QString verdictText(const LinkVerdict &verdict)
{
    const QString reason = deadReasonName(verdict.reason);
    return reason.isEmpty() ? linkStateName(verdict.state) : linkStateName(verdict.state) + u" ("_s + reason + u')';
}

} // namespace Crawl
