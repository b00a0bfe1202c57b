#include "server/WritePace.hpp"

#include <gtest/gtest.h>

#include <chrono>

using QEL::Hosting::WritePace;
using std::chrono::milliseconds;

namespace
{

double toMilliseconds(WritePace::Clock::duration interval)
{
    return std::chrono::duration<double, std::milli>(interval).count();
}

} // namespace

TEST(WritePace, StretchesUnderLoadWithinItsBoundsAndComesBack)
{
    WritePace pace(milliseconds(5));
    struct Step
    {
        double busy;
        double interval;  // ms
        const char* what;
    };
    const Step steps[] = {
        {0.2, 5.0, "idle: the configured interval"},
        {1.0, 6.667, "saturated: a third longer"},
        {1.0, 8.889, "again"},
        {0.75, 8.889, "on target: kept"},
        {1.0, 11.852, "saturated"},
        {1.0, 15.0, "at three times the configured interval"},
        {1.0, 15.0, "no further"},
        {0.0, 10.0, "idle: shorter by at most a third at once"},
        {0.6, 8.0, "below target: in proportion"},
        {0.1, 5.333, "idle"},
        {0.1, 5.0, "never below the configured interval"},
    };
    for (const Step& step : steps)
    {
        const WritePace::Clock::duration interval = pace.adjust(step.busy);
        EXPECT_NEAR(toMilliseconds(interval), step.interval, 0.001) << step.what;
        EXPECT_EQ(pace.getInterval(), interval) << step.what;
    }

    WritePace immediate(milliseconds(0));
    EXPECT_EQ(immediate.adjust(1.0), milliseconds(0));
}

TEST(WritePace, SettlesWhereTheLoadMeetsItsTarget)
{
    // A server whose busy share is a fixed part plus a part that falls as writes gather longer.
    for (const double fixed : {0.2, 0.4, 0.6})
    {
        WritePace pace(milliseconds(5));
        double busy = 1.0;
        for (int period = 0; period < 40; ++period)
            busy = std::min(1.0, fixed + 3.0 / toMilliseconds(pace.adjust(busy)));
        const double settled = 3.0 / (0.75 - fixed);
        EXPECT_NEAR(toMilliseconds(pace.getInterval()), std::min(std::max(settled, 5.0), 15.0), 0.05) << fixed;
    }
}
