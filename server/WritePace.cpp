#include "server/WritePace.hpp"

#include <algorithm>

namespace QEL
{
namespace Hosting
{
namespace
{

/// The busy share the pace steers towards: enough room left for bursts of joins and events.
constexpr double TargetBusy = 0.75;

/// Longest gathering, as a multiple of the configured interval.
constexpr int MaxStretch = 3;

/// Most the interval changes in one adjustment, either way: one noisy period moves it little.
constexpr double MaxStep = 1.5;

} // namespace

WritePace::WritePace(Clock::duration base) : mBase(base), mInterval(base)
{
}

WritePace::Clock::duration WritePace::adjust(double busy)
{
    // The busy share falls about in proportion as the interval grows, as long as writes are what
    // costs: scaling by busy / target heads straight for the target.
    const double step = std::clamp(busy / TargetBusy, 1.0 / MaxStep, MaxStep);
    const auto scaled = std::chrono::duration_cast<Clock::duration>(mInterval * step);
    mInterval = std::clamp(scaled, mBase, mBase * MaxStretch);
    return mInterval;
}

WritePace::Clock::duration WritePace::getInterval() const
{
    return mInterval;
}

} // namespace Hosting
} // namespace QEL
