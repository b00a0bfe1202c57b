#include "app/StepTimer.hpp"

#include <algorithm>

namespace QEL
{

std::int64_t StepTimer::addFrame(std::int64_t microseconds)
{
    const std::int64_t counted = std::min(microseconds, MaxFrameMicroseconds);
    mAccumulator += counted;
    return counted;
}

bool StepTimer::consumeStep()
{
    if (mAccumulator < StepMicroseconds)
        return false;
    mAccumulator -= StepMicroseconds;
    return true;
}

} // namespace QEL
