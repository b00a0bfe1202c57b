#include "network/LogThrottle.hpp"
#include "server/TokenBucket.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using QEL::Network::LogThrottle;
using QEL::Hosting::TokenBucket;
using std::chrono::milliseconds;

namespace
{

const auto Start = TokenBucket::Clock::time_point() + std::chrono::hours(1);

} // namespace

TEST(TokenBucket, LetsABurstThroughThenKeepsToTheRate)
{
    TokenBucket bucket(10.0, 3.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(bucket.take(Start)) << i;
    EXPECT_FALSE(bucket.take(Start));
    EXPECT_EQ(bucket.untilNext(Start), milliseconds(100));
    EXPECT_FALSE(bucket.take(Start + milliseconds(99)));
    EXPECT_TRUE(bucket.take(Start + milliseconds(100)));
    EXPECT_FALSE(bucket.take(Start + milliseconds(100)));
    // A long rest refills no more than the burst.
    const auto later = Start + std::chrono::seconds(60);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(bucket.take(later)) << i;
    EXPECT_FALSE(bucket.take(later));
    EXPECT_EQ(bucket.untilNext(later + milliseconds(40)), milliseconds(60));
    // Time that seems to run backwards gives nothing.
    EXPECT_FALSE(bucket.take(later - std::chrono::seconds(10)));
}

TEST(LogThrottle, PrintsAFewLinesOfAKindAndSumsUpTheRest)
{
    LogThrottle throttle(2, std::chrono::seconds(10));
    using Lines = std::vector<std::string>;
    EXPECT_EQ(throttle.filter("drop", "a", Start), Lines{"a"});
    EXPECT_EQ(throttle.filter("drop", "b", Start + milliseconds(1)), Lines{"b"});
    EXPECT_EQ(throttle.filter("drop", "c", Start + milliseconds(2)), Lines{});
    EXPECT_EQ(throttle.filter("drop", "d", Start + milliseconds(3)), Lines{});
    // Other kinds have limits of their own.
    EXPECT_EQ(throttle.filter("join", "j", Start + milliseconds(4)), Lines{"j"});
    EXPECT_EQ(throttle.sweep(Start + milliseconds(9999)), Lines{});

    EXPECT_EQ(throttle.filter("drop", "e", Start + std::chrono::seconds(10)),
              (Lines{"... 2 more 'drop' lines suppressed", "e"}));
    EXPECT_EQ(throttle.filter("drop", "f", Start + std::chrono::seconds(11)), Lines{"f"});
    EXPECT_EQ(throttle.filter("drop", "g", Start + std::chrono::seconds(12)), Lines{});
    // A quiet kind's count comes out with the sweep, once.
    EXPECT_EQ(throttle.sweep(Start + std::chrono::seconds(20)), Lines{"... 1 more 'drop' lines suppressed"});
    EXPECT_EQ(throttle.sweep(Start + std::chrono::seconds(40)), Lines{});
}
