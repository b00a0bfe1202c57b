#include "plym/core/Clock.hpp"

#include "plym/core/ClockImpl.hpp"

namespace Plym
{
namespace Time
{

Clock::Clock() : mStart(ClockImpl::now())
{
}

std::int64_t Clock::restart()
{
    const std::int64_t now = ClockImpl::now();
    const std::int64_t elapsed = now - mStart;
    mStart = now;
    return elapsed;
}

std::int64_t Clock::getElapsed() const
{
    return ClockImpl::now() - mStart;
}

} // namespace Time
} // namespace Plym
