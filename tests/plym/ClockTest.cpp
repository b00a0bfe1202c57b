#include "plym/core/Clock.hpp"
#include "plym/core/ClockImpl.hpp"

#include <gtest/gtest.h>

#include <chrono>

using Plym::Time::Clock;
using Plym::Time::ClockImpl;

TEST(Clock, CountsMicroseconds)
{
    Clock clock;
    const std::int64_t before = ClockImpl::now();
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(3))
    {
    }
    // At least 3 ms passed; the upper bound only rules out a wrong unit (ns would be 1000x).
    const std::int64_t elapsed = clock.restart();
    EXPECT_GE(elapsed, 3000);
    EXPECT_LT(elapsed, 3000000);
    EXPECT_GE(ClockImpl::now() - before, 3000);
    EXPECT_LT(clock.getElapsed(), elapsed);
}
