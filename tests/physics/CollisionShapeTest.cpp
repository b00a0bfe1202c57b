#include "physics/CircleCollisionShape.hpp"
#include "physics/Collision.hpp"
#include "physics/RectangleCollisionShape.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

using Plym::Math::Vector2;
using namespace QEL;

namespace
{

void expectPoint(const Vector2& actual, float x, float y, float tolerance = 0.f)
{
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
}

} // namespace

TEST(CollisionShape, OctagonCutsEveryCornerClockwiseFromTopLeft)
{
    std::unique_ptr<PolygonCollisionShape> octagon(makeOctagon(Vector2(140, 70), 25));
    ASSERT_EQ(octagon->getPointCount(), 8u);
    const float expected[8][2] = {{-45, -35}, {45, -35}, {70, -10}, {70, 10},
                                  {45, 35},   {-45, 35}, {-70, 10}, {-70, -10}};
    for (unsigned i = 0; i < 8; ++i)
        expectPoint(octagon->getPoint(i), expected[i][0], expected[i][1]);
    EXPECT_FLOAT_EQ(octagon->getRadius(), Vector2(70, 10).getLength());
    EXPECT_EQ(octagon->getAxisCount(), 8u);
}

TEST(CollisionShape, PolygonAxesAreUnitEdgeNormals)
{
    std::unique_ptr<PolygonCollisionShape> octagon(makeOctagon(Vector2(140, 70), 25));
    // Edge 0 runs along the top from left to right; edge 2 is the right side going down.
    expectPoint(octagon->getAxis(0), 0, -1, 1e-6f);
    expectPoint(octagon->getAxis(2), 1, 0, 1e-6f);
    // The last edge closes the outline back to vertex 0.
    const Vector2 closing = octagon->getAxis(7);
    expectPoint(closing, -std::sqrt(0.5f), -std::sqrt(0.5f), 1e-6f);
}

TEST(CollisionShape, PolygonRejectsIndexBeyondItsPoints)
{
    std::unique_ptr<PolygonCollisionShape> octagon(makeOctagon(Vector2(140, 70), 25));
    try
    {
        octagon->getPoint(8);
        FAIL() << "no exception";
    }
    catch (const std::out_of_range& error)
    {
        EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
    }
}

TEST(CollisionShape, EmptyPolygonHasRadiusZeroAndProjectsToItsPosition)
{
    PolygonCollisionShape empty({});
    EXPECT_EQ(empty.getPointCount(), 0u);
    EXPECT_EQ(empty.getRadius(), 0.f);
    const Projection p = empty.project(Vector2(3, 4), Vector2(1, 0));
    EXPECT_EQ(p.min, 3.f);
    EXPECT_EQ(p.max, 3.f);
}

TEST(CollisionShape, CircleOutlineStartsUpAndTurnsClockwise)
{
    CircleCollisionShape circle(25);
    EXPECT_EQ(circle.getPointCount(), 24u);
    EXPECT_EQ(circle.getAxisCount(), 24u);
    expectPoint(circle.getPoint(0), 0, -25, 1e-3f);
    expectPoint(circle.getPoint(6), 25, 0, 1e-3f);
    expectPoint(circle.getPoint(12), 0, 25, 1e-3f);
    EXPECT_EQ(circle.getRadius(), 25.f);
    // The rounded constant leaves point 0 slightly right of the vertical.
    EXPECT_GT(circle.getPoint(0).x, 0.f);
}

TEST(CollisionShape, CircleProjectsToItsDiameter)
{
    CircleCollisionShape circle(25);
    const Vector2 axis = Vector2(3, 4).getNormalized();
    const Projection p = circle.project(Vector2(10, 20), axis);
    const float centre = Vector2(10, 20).dot(axis);
    EXPECT_FLOAT_EQ(p.min, centre - 25);
    EXPECT_FLOAT_EQ(p.max, centre + 25);
    // A reversed axis still yields min below max.
    const Projection reversed = circle.project(Vector2(10, 20), -axis);
    EXPECT_LT(reversed.min, reversed.max);
}

TEST(CollisionShape, RectangleCornersAxesAndRadius)
{
    RectangleCollisionShape rectangle(Vector2(4, 2));
    ASSERT_EQ(rectangle.getPointCount(), 4u);
    expectPoint(rectangle.getPoint(0), -2, -1);
    expectPoint(rectangle.getPoint(1), 2, -1);
    expectPoint(rectangle.getPoint(2), 2, 1);
    expectPoint(rectangle.getPoint(3), -2, 1);
    ASSERT_EQ(rectangle.getAxisCount(), 2u);
    expectPoint(rectangle.getAxis(0), 1, 0);
    expectPoint(rectangle.getAxis(1), 0, 1);
    EXPECT_FLOAT_EQ(rectangle.getRadius(), std::sqrt(20.f) / 2);
    EXPECT_THROW(rectangle.getPoint(4), std::out_of_range);

    RectangleCollisionShape fromFloats(4, 2);
    expectPoint(fromFloats.getPoint(2), 2, 1);
    EXPECT_EQ(fromFloats.getRadius(), rectangle.getRadius());
}
