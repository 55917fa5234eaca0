#include "crawl/hostdelay.h"

#include <algorithm>
#include <cmath>

namespace Crawl {

using std::chrono::milliseconds;

HostDelay::HostDelay(milliseconds set, double jitter)
    : m_set(std::max(set, milliseconds(0))), m_current(m_set), m_jitter(std::clamp(jitter, 0.0, 1.0))
{
}

void HostDelay::setFloor(milliseconds floor)
{
    m_floor = std::max(floor, milliseconds(0));
}

void HostDelay::throttled()
{
    m_successes = 0;
    m_current = std::clamp(std::min(current(), kMaxHostDelay) * 2, kFirstBackoff, kMaxHostDelay);
}

void HostDelay::succeeded()
{
    if (++m_successes < kEaseAfter)
        return;
    m_successes = 0;
    const milliseconds half = m_current / 2;
    m_current = half < kFirstBackoff ? m_set : std::max(m_set, half);
}

milliseconds HostDelay::wait(double random) const
{
    const double factor = 1.0 - m_jitter + 2.0 * m_jitter * std::clamp(random, 0.0, 1.0);
    return std::max(m_floor, milliseconds(std::llround(double(current().count()) * factor)));
}

} // namespace Crawl
