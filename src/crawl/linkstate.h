#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <chrono>
#include <optional>

namespace Crawl {

// What a share link's page says of the share.
enum class LinkState {
    Live,    // the share's files are there
    Locked,  // the page asks for an extraction code, or says the one given is wrong
    Dead,    // the share is gone; DeadReason says why
    Limited, // the site refused to tell for now: 429, a captcha, "too many visits"
    Unknown, // no usable answer: a transport failure, a 5xx, an empty or unrecognised page
};

enum class DeadReason { None, Cancelled, Expired, Deleted, Violation, NotFound };

struct LinkVerdict
{
    LinkState state = LinkState::Unknown;
    DeadReason reason = DeadReason::None; // set for Dead only

    friend bool operator==(const LinkVerdict &, const LinkVerdict &) = default;
};

// One check of a share link: what it came to, when, and the HTTP status it rests on (0: none).
struct LinkCheck
{
    LinkVerdict verdict;
    QDateTime checkedAt;
    int status = 0;
};

// "live", "locked", "dead", "limited", "unknown".
QString linkStateName(LinkState state);
std::optional<LinkState> parseLinkState(QStringView name);
// "cancelled", "expired", "deleted", "violation", "not_found"; empty for None.
QString deadReasonName(DeadReason reason);
std::optional<DeadReason> parseDeadReason(QStringView name);

// How long a check that came to state stays good before the share is asked again: live 24 h,
// locked 12 h, dead 6 h, unknown 30 min, limited 10 min.
std::chrono::seconds defaultCacheAge(LinkState state);

} // namespace Crawl
