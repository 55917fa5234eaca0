#pragma once

#include "config/siteprofile.h"
#include "crawl/fetcher.h"
#include "crawl/linkstate.h"

#include <QString>

#include <chrono>
#include <functional>

namespace Crawl {

// The least pause before a share page that read dead by a wording is asked again.
inline constexpr std::chrono::milliseconds kRecheckGap{2000};

// What the answer to a GET of a share link says of the share, by rules, the first that holds:
// - no answer (a transport failure, a host given up, a stop): unknown;
// - a status of a dead reason's rule (cancelled, expired, deleted, violation, not found, in this
//   order): dead; of the limited rule: limited; of the locked rule: locked;
// - another 5xx: unknown (the server's trouble says nothing of the share);
// - a wording in the body, whatever the status, in the same order: dead, limited, locked;
// - a 2xx with a body: live; anything else (an empty body, another status): unknown.
LinkVerdict classifyShare(const Answer &answer, const Config::ShareRules &rules);

// Whether verdict rests on a wording of a page that answered as a page (a status of the rules
// is never 2xx): such a dead share is asked once more before it is believed.
bool wantsRecheck(const Answer &answer, const LinkVerdict &verdict);

// GETs shareUrl and classifies the answer; a dead by wording is asked again no sooner than gap
// after the first answer, and the two answers must agree, else the share is unknown. The check
// carries the last answer's time and status.
LinkCheck checkShare(Fetcher &fetcher, const QString &shareUrl, const Config::ShareRules &rules,
                     std::chrono::milliseconds gap = kRecheckGap);
// The same from answers got elsewhere: the first, and `again` for the second when one is wanted.
LinkCheck checkShareAnswers(const Answer &first, const std::function<Answer()> &again, const Config::ShareRules &rules);

// "live", or "dead (cancelled)": a verdict for a person to read.
QString verdictText(const LinkVerdict &verdict);

} // namespace Crawl
