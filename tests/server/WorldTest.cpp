#include "server/ChatLimiter.hpp"
#include "server/World.hpp"

#include <gtest/gtest.h>

#include <limits>

using QEL::Hosting::ChatLimiter;
using QEL::Hosting::World;
using Refusal = QEL::Hosting::World::Refusal;

TEST(World, JudgesNames)
{
    World world(8, 16, 100);
    EXPECT_EQ(world.check(""), Refusal::Empty);
    EXPECT_EQ(world.check(std::string(24, 'a')), Refusal::None);
    EXPECT_EQ(world.check(std::string(25, 'a')), Refusal::TooLong);
    // 24 bytes, though only 12 characters.
    EXPECT_EQ(world.check("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"),
              Refusal::None);
    EXPECT_EQ(world.check("tab\tname"), Refusal::Invalid);
    EXPECT_EQ(world.check("\x1B[2J"), Refusal::Invalid);
    EXPECT_EQ(world.check("C1\xC2\x9B"), Refusal::Invalid);
    EXPECT_EQ(world.check("\xE2\x81\xA6isolate"), Refusal::Invalid);

    world.add("Ysolde");
    EXPECT_EQ(world.check("Ysolde"), Refusal::Taken);
    EXPECT_EQ(world.check("ySOLDE"), Refusal::Taken);
    EXPECT_EQ(world.check("Ysolde2"), Refusal::None);
}

TEST(World, FreesNamesAndSeatsButNeverReusesIds)
{
    World world(2, 16, 100);
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
    World world(4, 16, 100);
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

TEST(World, JudgesWorldEventsAndRemembersEachOnceUpToItsCapacity)
{
    using Verdict = World::EventVerdict;
    World world(4, 3, 100);
    const struct
    {
        std::uint32_t entity;
        const char* name;
        Verdict verdict;
    } events[] = {
        {5, "#REKT", Verdict::New},        {5, "#REKT", Verdict::Known},      {5, "#branch", Verdict::New},
        {0, "#REKT", Verdict::BadEntity},  {101, "Rosebud", Verdict::BadEntity}, {7, "#rekt", Verdict::UnknownName},
        {7, "marker", Verdict::UnknownName}, {100, "Rosebud", Verdict::New},
        // The store is full: new events are still new (relayed), known ones still known.
        {9, "Rosebud", Verdict::New},      {9, "Rosebud", Verdict::New},      {5, "#branch", Verdict::Known},
    };
    for (const auto& event : events)
        EXPECT_EQ(world.record(event.entity, event.name), event.verdict) << event.entity << " " << event.name;

    const auto& stored = world.getEvents();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].entity, 5u);
    EXPECT_EQ(stored[0].name, "#REKT");
    EXPECT_EQ(stored[1].name, "#branch");
    EXPECT_EQ(stored[2].entity, 100u);
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
