#include "physics/CircleCollisionShape.hpp"
#include "physics/Collision.hpp"
#include "physics/RectangleCollisionShape.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <memory>
#include <string>
#include <vector>

using Plym::Math::Vector2;
using namespace QEL;

namespace
{

std::unique_ptr<PolygonCollisionShape> manShape()
{
    return std::unique_ptr<PolygonCollisionShape>(makeOctagon(Vector2(140, 70), 25));
}

// A polygon that logs every axis the test asks of it.
class RecordingPolygon : public PolygonCollisionShape
{
public:
    RecordingPolygon(const std::vector<Vector2>& points, std::string name, std::vector<std::string>& log) :
    PolygonCollisionShape(points),
    mName(std::move(name)),
    mLog(log)
    {
    }

    Vector2 getAxis(unsigned index) const override
    {
        mLog.push_back(mName + std::to_string(index));
        return PolygonCollisionShape::getAxis(index);
    }

private:
    std::string mName;
    std::vector<std::string>& mLog;
};

const std::vector<Vector2> square2 = {Vector2(-1, -1), Vector2(1, -1), Vector2(1, 1), Vector2(-1, 1)};
// A diamond whose first edge faces up-left.
const std::vector<Vector2> diamond = {Vector2(-1, 0), Vector2(0, -1), Vector2(1, 0), Vector2(0, 1)};

} // namespace

TEST(Projection, TouchingIntervalsOverlapByZero)
{
    const Projection p{0, 10};
    const Projection q{10, 20};
    EXPECT_TRUE(overlaps(p, q));
    EXPECT_TRUE(overlaps(q, p));
    EXPECT_EQ(overlap(p, q), 0.f);
    EXPECT_EQ(overlap(q, p), 0.f);
    EXPECT_FALSE(overlaps(p, Projection{10.5f, 20}));
    EXPECT_FALSE(overlaps(Projection{10.5f, 20}, p));
}

TEST(Projection, ContainsNeedsBothEnds)
{
    EXPECT_TRUE(contains(Projection{0, 10}, Projection{2, 8}));
    EXPECT_TRUE(contains(Projection{0, 10}, Projection{0, 10}));
    EXPECT_FALSE(contains(Projection{2, 8}, Projection{0, 10}));
    EXPECT_FALSE(contains(Projection{0, 10}, Projection{5, 11}));
}

TEST(TestCollision, OctagonsOverlappingByFiveAlongX)
{
    auto a = manShape();
    auto b = manShape();
    float depth = -1;
    Vector2 axis;
    ASSERT_TRUE(testCollision(*a, *b, Vector2(1000, 500), Vector2(1135, 500), depth, axis));
    EXPECT_FLOAT_EQ(depth, 5);
    EXPECT_FLOAT_EQ(axis.x, -1);
    EXPECT_FLOAT_EQ(axis.y, 0);

    // From b's side the push points the other way.
    ASSERT_TRUE(testCollision(*b, *a, Vector2(1135, 500), Vector2(1000, 500), depth, axis));
    EXPECT_FLOAT_EQ(depth, 5);
    EXPECT_FLOAT_EQ(axis.x, 1);
}

TEST(TestCollision, TouchingOctagonsCollideWithDepthZero)
{
    auto a = manShape();
    auto b = manShape();
    float depth = -1;
    Vector2 axis;
    EXPECT_TRUE(testCollision(*a, *b, Vector2(0, 0), Vector2(140, 0), depth, axis));
    EXPECT_EQ(depth, 0.f);
    EXPECT_FALSE(testCollision(*a, *b, Vector2(0, 0), Vector2(140.5f, 0), depth, axis));
}

TEST(TestCollision, ContainmentAddsTheNearerEndDistance)
{
    // A 2 x 2 square inside a 10 x 4 rectangle: on x the overlap 6 grows by 4 to 10;
    // on y (b shifted down by 0.5) the overlap 3.5 grows by 0.5 to 4, the smaller one.
    RectangleCollisionShape a(2, 2);
    RectangleCollisionShape b(10, 4);
    float depth = -1;
    Vector2 axis;
    ASSERT_TRUE(testCollision(a, b, Vector2(0, 0), Vector2(0, 0.5f), depth, axis));
    EXPECT_FLOAT_EQ(depth, 4);
    EXPECT_FLOAT_EQ(axis.x, 0);
    EXPECT_FLOAT_EQ(axis.y, 1);
}

TEST(TestCollision, TiesKeepTheEarlierAxis)
{
    // Both axes of two equal squares overlap by 1; the first (x) wins.
    RectangleCollisionShape a(2, 2);
    RectangleCollisionShape b(2, 2);
    float depth = -1;
    Vector2 axis;
    ASSERT_TRUE(testCollision(a, b, Vector2(0, 0), Vector2(1, 1), depth, axis));
    EXPECT_FLOAT_EQ(depth, 1);
    EXPECT_FLOAT_EQ(axis.x, -1);
    EXPECT_FLOAT_EQ(axis.y, 0);
}

TEST(TestCollision, TriesAllAxesOfAThenStopsAtTheSeparatingAxisOfB)
{
    std::vector<std::string> log;
    RecordingPolygon a(square2, "a", log);
    RecordingPolygon b(diamond, "b", log);
    float depth = -1;
    Vector2 axis(7, 7);
    EXPECT_FALSE(testCollision(a, b, Vector2(0, 0), Vector2(1.8f, 1.7f), depth, axis));
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "a1", "a2", "a3", "b0"}));
    // What a's axes left behind stays: 0.3 up, then the smaller 0.2 pushing a to the left.
    EXPECT_NEAR(depth, 0.2f, 1e-5f);
    EXPECT_FLOAT_EQ(axis.x, -1);
    EXPECT_FLOAT_EQ(axis.y, 0);
}

TEST(TestCollision, SeparatedOnTheFirstAxisLeavesTheStartValues)
{
    auto a = manShape();
    auto b = manShape();
    float depth = -1;
    Vector2 axis(7, 7);
    EXPECT_FALSE(testCollision(*a, *b, Vector2(0, 0), Vector2(0, 100), depth, axis));
    EXPECT_EQ(depth, FLT_MAX);
    EXPECT_EQ(axis, Vector2(0, 0));
}

TEST(TestCollision, TwoCirclesUseTheLineBetweenTheirCentres)
{
    CircleCollisionShape a(25);
    CircleCollisionShape b(25);
    float depth = -1;
    Vector2 axis;
    ASSERT_TRUE(testCollision(a, b, Vector2(0, 0), Vector2(50, 0), depth, axis));
    EXPECT_EQ(depth, 0.f);
    EXPECT_FALSE(testCollision(a, b, Vector2(0, 0), Vector2(30.1f, 40.1f), depth, axis));
    ASSERT_TRUE(testCollision(a, b, Vector2(0, 0), Vector2(0, 40), depth, axis));
    EXPECT_FLOAT_EQ(depth, 10);
    EXPECT_FLOAT_EQ(axis.x, 0);
    EXPECT_FLOAT_EQ(axis.y, -1);
}

TEST(TestCollision, CircleAgainstPolygonUsesTheOutlineAxes)
{
    CircleCollisionShape cactus(25);
    auto man = manShape();
    float depth = -1;
    Vector2 axis;
    // The man's right side at x = 70 meets the cactus reaching left to 100 - 25 = 75: apart.
    EXPECT_FALSE(testCollision(*man, cactus, Vector2(0, 0), Vector2(100, 0), depth, axis));
    ASSERT_TRUE(testCollision(*man, cactus, Vector2(0, 0), Vector2(90, 0), depth, axis));
    EXPECT_FLOAT_EQ(depth, 5);
    EXPECT_FLOAT_EQ(axis.x, -1);
    EXPECT_NEAR(axis.y, 0, 1e-6f);
}
