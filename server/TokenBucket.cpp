#include "server/TokenBucket.hpp"

#include <algorithm>

namespace QEL
{
namespace Hosting
{

TokenBucket::TokenBucket(double rate, double burst) :
mInterval(std::chrono::round<Clock::duration>(std::chrono::duration<double>(1.0 / rate))),
mTolerance(std::chrono::round<Clock::duration>(std::chrono::duration<double>((burst - 1.0) / rate))),
mFull(Clock::time_point::min())
{
}

bool TokenBucket::take(Clock::time_point now)
{
    if (untilNext(now) > Clock::duration::zero())
        return false;
    mFull = std::max(mFull, now) + mInterval;
    return true;
}

TokenBucket::Clock::duration TokenBucket::untilNext(Clock::time_point now) const
{
    return std::max(Clock::duration::zero(), std::max(mFull, now) - mTolerance - now);
}

} // namespace Hosting
} // namespace QEL
