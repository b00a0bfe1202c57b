#include "plym/core/Math.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace Math = Plym::Math;

TEST(Math, RandomintCoversItsClosedRange)
{
    Math::seedRandom(1234);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i)
    {
        const int value = Math::randomint(3, 12);
        ASSERT_GE(value, 3);
        ASSERT_LE(value, 12);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(Math::randomint(5, 5), 5);
    for (int i = 0; i < 100; ++i)
    {
        const int value = Math::randomint(15, 0);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 15);
    }
}

TEST(Math, RandomintLeavesRandUntouched)
{
    std::srand(7);
    const int expected = std::rand();
    std::srand(7);
    for (int i = 0; i < 100; ++i)
        Math::randomint(0, 15);
    EXPECT_EQ(std::rand(), expected);
}

TEST(Math, AngleConversions)
{
    EXPECT_NEAR(Math::degToRad(180.f), 3.14159265f, 1e-6f);
    EXPECT_NEAR(Math::degToRad(-27.f), -0.471239f, 1e-6f);
    EXPECT_NEAR(Math::radToDeg(1.5707963f), 90.f, 1e-4f);
}
