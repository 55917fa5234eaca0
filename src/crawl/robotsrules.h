#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringView>

#include <chrono>
#include <optional>

namespace Crawl {

// The rules of one host's robots.txt (RFC 9309) for one crawler. A default-constructed object
// has no rules and allows everything.
class RobotsRules
{
public:
    // Only this much of a body is read (RFC 9309 section 2.5 lets a crawler stop at 500 KiB); a
    // line cut by the bound is dropped with the rest.
    static constexpr qsizetype kMaxBodyBytes = 500 * 1024;

    // The rules of the groups whose user-agent names productToken (ASCII letters, '_' and '-',
    // compared without case against the value's leading run of such characters: "FooBot/2.1"
    // names foobot), all such groups combined; without one, the rules of the '*' groups;
    // without those, none. Reads Allow, Disallow and Crawl-delay; other lines are skipped.
    static RobotsRules parse(QByteArrayView body, QStringView productToken);

    // What a host whose robots.txt could not be read asks for: nothing but /robots.txt.
    static RobotsRules disallowAll();

    // Whether the path (with its query, percent-encoded or raw UTF-8) may be fetched: the
    // longest matching pattern decides, Allow on a tie; no match, or /robots.txt, is allowed.
    bool isAllowed(QByteArrayView pathAndQuery) const;

    // The chosen groups' first readable Crawl-delay, in seconds with an optional fraction.
    std::optional<std::chrono::milliseconds> crawlDelay() const { return m_crawlDelay; }

private:
    struct Rule
    {
        QByteArray pattern; // percent-encoding normalised; '*' any run, a last '$' the end
        bool allow = false;
    };

    QList<Rule> m_rules; // longest pattern first, Allow before Disallow of the same length
    std::optional<std::chrono::milliseconds> m_crawlDelay;
};

// What the answer to GET /robots.txt means for the rest of the host (RFC 9309 section 2.3.1): a
// 2xx answer's body is the rules; another 3xx or 4xx means there are none (everything allowed),
// except 429, which like a 5xx or no answer at all (status nullopt) allows nothing.
RobotsRules robotsRulesFor(std::optional<int> status, QByteArrayView body, QStringView productToken);

} // namespace Crawl
