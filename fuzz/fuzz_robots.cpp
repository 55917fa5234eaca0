// Any robots.txt and any path: matching never crashes, /robots.txt is always allowed, a body
// without a Disallow line allows everything, and one Disallow pattern over a small alphabet
// decides exactly as a plain table matcher does.
// Input: the body, then after the first U+0000 byte the path.
#include "crawl/robotsrules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Whether pattern ('*' any run, a last '$' the end) matches the beginning of path, by the table
// of which path prefixes each pattern prefix can match.
bool tableMatches(QByteArrayView pattern, QByteArrayView path)
{
    const bool anchored = pattern.endsWith('$');
    if (anchored)
        pattern.chop(1);
    std::vector<bool> reach(std::size_t(path.size()) + 1, false);
    reach[0] = true;
    for (const char c : pattern) {
        if (c == '*') {
            for (std::size_t j = 1; j < reach.size(); ++j)
                reach[j] = reach[j] || reach[j - 1];
        } else {
            for (std::size_t j = reach.size() - 1; j > 0; --j)
                reach[j] = reach[j - 1] && path[qsizetype(j) - 1] == c;
            reach[0] = false;
        }
    }
    return anchored ? reach.back() : std::find(reach.begin(), reach.end(), true) != reach.end();
}

QByteArray onlyOf(QByteArrayView text, QByteArrayView alphabet)
{
    QByteArray kept;
    for (const char c : text) {
        if (alphabet.contains(c))
            kept.append(c);
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(data, qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArrayView body = split < 0 ? input : input.first(split);
    const QByteArrayView path = split < 0 ? QByteArrayView("/") : input.sliced(split + 1);

    for (const QStringView agent : {QStringView(u"foobot"), QStringView(u"*")}) {
        const Crawl::RobotsRules rules = Crawl::RobotsRules::parse(body, agent);
        const bool allowed = rules.isAllowed(path);
        if (!rules.isAllowed("/robots.txt") || (!allowed && !body.toByteArray().toLower().contains("disallow")))
            std::abort();
        if (const auto delay = rules.crawlDelay(); delay && delay->count() < 0)
            std::abort();
    }
    if (!path.contains('%') && path != "/robots.txt" && Crawl::RobotsRules::disallowAll().isAllowed(path))
        std::abort();

    const QByteArray pattern = onlyOf(body, "ab/*$");
    const QByteArray plainPath = "/" + onlyOf(path, "ab/$");
    const QByteArray oneRule = "User-agent: *\nDisallow: " + pattern;
    if (Crawl::RobotsRules::parse(oneRule, u"x").isAllowed(plainPath) != (pattern.isEmpty() || !tableMatches(pattern, plainPath)))
        std::abort();
    return 0;
}
