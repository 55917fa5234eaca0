#pragma once

#include <algorithm>
#include <chrono>

namespace Crawl {

// The longest pause between two requests to one host: where backing off stops, and where the
// caller cuts a robots.txt Crawl-delay.
inline constexpr std::chrono::milliseconds kMaxHostDelay = std::chrono::seconds(60);

// The pause before the next request to one host, following how the host copes: a 429 or 503
// doubles it (to at least a second) up to kMaxHostDelay; each run of kEaseAfter successes
// halves it again, back to the set delay. A floor (a Crawl-delay) is never undercut.
class HostDelay
{
public:
    static constexpr int kEaseAfter = 5;
    static constexpr std::chrono::milliseconds kFirstBackoff = std::chrono::seconds(1);

    // jitter F spreads each wait over (1 - F)..(1 + F) times the delay; F is kept in 0..1.
    explicit HostDelay(std::chrono::milliseconds set = {}, double jitter = 0.5);

    void setFloor(std::chrono::milliseconds floor);
    void throttled(); // a 429 or 503 answer
    void succeeded(); // an answer the host served

    std::chrono::milliseconds floor() const { return m_floor; }
    std::chrono::milliseconds current() const { return std::max(m_current, m_floor); }
    // The pause to keep now, given random in [0, 1): current() spread by the jitter, at least
    // the floor.
    std::chrono::milliseconds wait(double random) const;

private:
    std::chrono::milliseconds m_set;
    std::chrono::milliseconds m_current;
    std::chrono::milliseconds m_floor{0};
    double m_jitter;
    int m_successes = 0;
};

} // namespace Crawl
