#include "crawl/robotsrules.h"

#include "crawl/secondsvalue.h"

#include <QLatin1String>

#include <algorithm>

namespace Crawl {

namespace {

enum class Side { Pattern, Path };

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        return (c | 0x20) - 'a' + 10;
    return -1;
}

bool isAsciiLetter(char c)
{
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

bool isUnreserved(uchar c)
{
    return isAsciiLetter(char(c)) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
}

// One spelling for the same octets, so that they compare equal: %XX of an unreserved character
// becomes the character, any other %XX has upper-case hex, and octets outside printable ASCII
// (and a '%' that starts no %XX) are percent-encoded. A path's '*' and '$' are encoded too, so
// that only a pattern's '*' and last '$' are special; runs of '*' shrink to one.
QByteArray normalised(QByteArrayView text, Side side)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(text.size());
    const auto encode = [&out](uchar c) {
        out.append('%').append(kHex[c >> 4]).append(kHex[c & 15]);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uchar c = uchar(text[i]);
        if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            const uchar decoded = uchar(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            if (isUnreserved(decoded))
                out.append(char(decoded));
            else
                encode(decoded);
            i += 2;
        } else if (side == Side::Pattern && c == '*') {
            if (!out.endsWith('*'))
                out.append('*');
        } else if (side == Side::Pattern && c == '$' && i + 1 == text.size()) {
            out.append('$');
        } else if (c == '%' || c == '*' || c == '$' || c <= 0x20 || c >= 0x7F) {
            encode(c);
        } else {
            out.append(char(c));
        }
    }
    return out;
}

// Whether the pattern matches the path from its start: '*' stands for any run of octets, a last
// '$' for the path's end; without it a matching beginning is enough. On a mismatch only the last
// '*' needs to take one octet more (an earlier one could only shift what the later one covers),
// so the work stays near path length times the longest piece between stars, never exponential.
bool matches(QByteArrayView pattern, QByteArrayView path)
{
    const bool anchored = pattern.endsWith('$');
    if (anchored)
        pattern.chop(1);
    qsizetype p = 0;
    qsizetype s = 0;
    qsizetype afterStar = -1;
    qsizetype starCovers = 0; // where in the path the last '*' stops
    for (;;) {
        if (p == pattern.size() && (!anchored || s == path.size()))
            return true;
        if (p < pattern.size() && pattern[p] == '*') {
            afterStar = ++p;
            starCovers = s;
        } else if (p < pattern.size() && s < path.size() && pattern[p] == path[s]) {
            ++p;
            ++s;
        } else if (afterStar >= 0 && starCovers < path.size()) {
            p = afterStar;
            s = ++starCovers;
        } else {
            return false;
        }
    }
}

// Whether a user-agent value names the crawler: its leading run of product-token characters,
// so that "FooBot/2.1" names foobot.
bool namesProduct(QByteArrayView value, QStringView productToken)
{
    qsizetype length = 0;
    while (length < value.size() && (isAsciiLetter(value[length]) || value[length] == '_' || value[length] == '-'))
        ++length;
    return length > 0 && productToken.compare(QLatin1String(value.data(), length), Qt::CaseInsensitive) == 0;
}

QByteArrayView withinBound(QByteArrayView body)
{
    if (body.size() > RobotsRules::kMaxBodyBytes) {
        body.truncate(RobotsRules::kMaxBodyBytes);
        const qsizetype lastBreak = std::max(body.lastIndexOf('\n'), body.lastIndexOf('\r'));
        body.truncate(lastBreak + 1);
    }
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    return body;
}

} // namespace

RobotsRules RobotsRules::parse(QByteArrayView body, QStringView productToken)
{
    // What the groups for one kind of user-agent ('*' or the crawler's name) say, combined.
    struct Groups
    {
        bool seen = false;
        QList<Rule> rules;
        std::optional<std::chrono::milliseconds> crawlDelay;
    };
    Groups named;
    Groups anyAgent;
    bool forNamed = false;
    bool forAnyAgent = false;
    bool readingAgents = false; // the last record was a user-agent line, so another one joins the group

    body = withinBound(body);
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype end = start;
        while (end < body.size() && body[end] != '\n' && body[end] != '\r')
            ++end;
        QByteArrayView line = body.sliced(start, end - start);
        start = end + 1;
        if (const qsizetype hash = line.indexOf('#'); hash >= 0)
            line.truncate(hash);
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArrayView key = line.first(colon).trimmed();
        const QByteArrayView value = line.sliced(colon + 1).trimmed();

        if (key.compare("user-agent", Qt::CaseInsensitive) == 0) {
            if (!readingAgents)
                forNamed = forAnyAgent = false;
            readingAgents = true;
            if (value == "*")
                forAnyAgent = anyAgent.seen = true;
            else if (namesProduct(value, productToken))
                forNamed = named.seen = true;
            continue;
        }
        const bool allow = key.compare("allow", Qt::CaseInsensitive) == 0;
        const bool disallow = key.compare("disallow", Qt::CaseInsensitive) == 0;
        const bool delay = key.compare("crawl-delay", Qt::CaseInsensitive) == 0;
        if (!allow && !disallow && !delay)
            continue;
        readingAgents = false;
        for (Groups *groups : {forNamed ? &named : nullptr, forAnyAgent ? &anyAgent : nullptr}) {
            if (!groups)
                continue;
            if (delay && !groups->crawlDelay)
                groups->crawlDelay = secondsValue(value, true);
            else if (!delay && !value.isEmpty()) // an empty pattern matches nothing
                groups->rules.append({normalised(value, Side::Pattern), allow});
        }
    }

    Groups &chosen = named.seen ? named : anyAgent;
    std::stable_sort(chosen.rules.begin(), chosen.rules.end(), [](const Rule &a, const Rule &b) {
        return a.pattern.size() != b.pattern.size() ? a.pattern.size() > b.pattern.size() : a.allow && !b.allow;
    });
    RobotsRules rules;
    rules.m_rules = std::move(chosen.rules);
    rules.m_crawlDelay = chosen.crawlDelay;
    return rules;
}

RobotsRules RobotsRules::disallowAll()
{
    RobotsRules rules;
    rules.m_rules.append({QByteArrayLiteral("*"), false});
    return rules;
}

bool RobotsRules::isAllowed(QByteArrayView pathAndQuery) const
{
    const QByteArray path = normalised(pathAndQuery.isEmpty() ? QByteArrayView("/") : pathAndQuery, Side::Path);
    if (path == "/robots.txt")
        return true;
    const auto match = std::find_if(m_rules.cbegin(), m_rules.cend(), [&path](const Rule &rule) {
        return matches(rule.pattern, path);
    });
    return match == m_rules.cend() || match->allow;
}

RobotsRules robotsRulesFor(std::optional<int> status, QByteArrayView body, QStringView productToken)
{
    if (status && *status >= 200 && *status < 300)
        return RobotsRules::parse(body, productToken);
    if (status && *status >= 300 && *status < 500 && *status != 429)
        return {};
    return RobotsRules::disallowAll();
}

} // namespace Crawl
