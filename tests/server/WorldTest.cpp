#include "server/ChatLimiter.hpp"
#include "server/World.hpp"

#include <gtest/gtest.h>

#include <limits>

using QEL::Hosting::ChatLimiter;
using QEL::Hosting::World;
using Refusal = QEL::Hosting::World::Refusal;

TEST(World, JudgesNames)
{
    World world(8, 16);
    EXPECT_EQ(world.check(""), Refusal::Empty);
    EXPECT_EQ(world.check(std::string(24, 'a')), Refusal::None);
    EXPECT_EQ(world.check(std::string(25, 'a')), Refusal::TooLong);
    // 24 bytes, though only 12 characters.
    EXPECT_EQ(world.check("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"),
              Refusal::None);
    EXPECT_EQ(world.check("tab\tname"), Refusal::Invalid);
    EXPECT_EQ(world.check("\x1B[2J"), Refusal::Invalid);

    world.add("Ysolde");
    EXPECT_EQ(world.check("Ysolde"), Refusal::Taken);
    EXPECT_EQ(world.check("ySOLDE"), Refusal::Taken);
    EXPECT_EQ(world.check("Ysolde2"), Refusal::None);
}

TEST(World, FreesNamesAndSeatsButNeverReusesIds)
{
    World world(2, 16);
    const std::uint32_t first = world.add("a");
    const std::uint32_t second = world.add("b");
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(world.check("c"), Refusal::Full);

    world.remove(first);
    EXPECT_EQ(world.check("a"), Refusal::None);
    const std::uint32_t third = world.add("a");
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
    EXPECT_EQ(world.getPlayers().size(), 2u);
}

TEST(World, KeepsTheLastFinitePosition)
{
    World world(4, 16);
    const std::uint32_t id = world.add("walker");
    EXPECT_EQ(world.getPlayers().at(id).position, World::SpawnPosition);

    const Plym::Math::Vector3 here(100.f, 200.f, -5.f);
    EXPECT_TRUE(world.move(id, here, Plym::Math::Vector3()));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(world.move(id, Plym::Math::Vector3(nan, 0.f, 0.f), Plym::Math::Vector3()));
    EXPECT_FALSE(world.move(id, Plym::Math::Vector3(0.f, 0.f, 0.f), Plym::Math::Vector3(0.f, -inf, 0.f)));
    EXPECT_EQ(world.getPlayers().at(id).position, here);
    EXPECT_FALSE(world.move(id + 1, here, Plym::Math::Vector3()));
}

TEST(World, RemembersEachEventOnceUpToItsCapacity)
{
    World world(4, 3);
    EXPECT_TRUE(world.record(5, "#REKT"));
    EXPECT_FALSE(world.record(5, "#REKT"));
    EXPECT_TRUE(world.record(5, "#branch"));
    EXPECT_TRUE(world.record(9, "Rosebud"));
    EXPECT_FALSE(world.record(10, "Rosebud"));

    const auto& events = world.getEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].entity, 5u);
    EXPECT_EQ(events[0].name, "#REKT");
    EXPECT_EQ(events[1].name, "#branch");
    EXPECT_EQ(events[2].entity, 9u);
}

TEST(ChatLimiter, AllowsBurstsUpToTheLimitWithinTheWindow)
{
    ChatLimiter limiter(5, std::chrono::seconds(5));
    const auto start = ChatLimiter::Clock::time_point() + std::chrono::hours(1);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(limiter.allow(start + std::chrono::milliseconds(i))) << i;
    EXPECT_FALSE(limiter.allow(start + std::chrono::seconds(1)));
    EXPECT_FALSE(limiter.allow(start + std::chrono::milliseconds(4999)));
    // The first line leaves the window exactly five seconds after it was said.
    EXPECT_TRUE(limiter.allow(start + std::chrono::seconds(5)));
    EXPECT_FALSE(limiter.allow(start + std::chrono::seconds(5)));
    EXPECT_TRUE(limiter.allow(start + std::chrono::seconds(11)));
}
