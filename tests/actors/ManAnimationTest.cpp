#include "actors/ManAnimation.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using namespace QEL::ManAnimation;

constexpr float Fast = 100000.f;   // a squared speed well above walking
constexpr float Nudge = 1e-4f;     // radians, far above float rounding near these angles

void expectHair(const std::string& name, unsigned column, bool mirrored)
{
    const HairCell cell = getHairCell(name);
    EXPECT_EQ(cell.column, column) << name;
    EXPECT_EQ(cell.mirrored, mirrored) << name;
}

TEST(ManAnimation, SlowMenIdleWithTheFrontHair)
{
    EXPECT_EQ(getName(0.f, 0.f), "Idle");
    EXPECT_EQ(getName(-12.f, 10.f), "Idle");               // 244
    EXPECT_EQ(getNameForAngle(1.f, 270.f), "Idle");         // the threshold itself idles
    EXPECT_EQ(getName(0.f, -16.5f), "Up");                  // 272.25
    expectHair("Idle", 0, false);
}

TEST(ManAnimation, EightDirectionsAndTheirHair)
{
    const float d = 100.f / std::sqrt(2.f);
    EXPECT_EQ(getName(100.f, 0.f), "Right");
    EXPECT_EQ(getName(-100.f, 0.f), "Left");
    EXPECT_EQ(getName(0.f, -100.f), "Up");
    EXPECT_EQ(getName(0.f, 100.f), "Down");
    EXPECT_EQ(getName(-d, -d), "UpLeft");
    EXPECT_EQ(getName(d, -d), "UpRight");
    EXPECT_EQ(getName(-d, d), "DownLeft");
    EXPECT_EQ(getName(d, d), "DownRight");

    expectHair("Right", 2, false);
    expectHair("Left", 2, true);
    expectHair("Up", 4, false);
    expectHair("Down", 0, false);
    expectHair("UpLeft", 3, true);
    expectHair("UpRight", 3, false);
    expectHair("DownLeft", 1, true);
    expectHair("DownRight", 1, false);
}

TEST(ManAnimation, BandEdgesBelongToTheStraightNeighbour)
{
    struct Edge
    {
        float angle;
        const char* at;       // exactly on the edge (the bands are open intervals)
        const char* below;    // a little smaller angle
        const char* above;    // a little larger angle
    };
    const float deg27 = 27.f * 3.14159f / 180.f;
    const Edge edges[] = {
        {-deg27, "Right", "UpRight", "Right"},
        {deg27, "Right", "Right", "DownRight"},
        {deg27 - 1.570795f, "Up", "Up", "UpRight"},
        {-1.570795f - deg27, "Up", "UpLeft", "Up"},
        {1.570795f - deg27, "Down", "DownRight", "Down"},
        {1.570795f + deg27, "Down", "Down", "DownLeft"},
        {3.14159f - deg27, "Left", "DownLeft", "Left"},
        {deg27 - 3.14159f, "Left", "Left", "UpLeft"},
    };
    for (const Edge& edge : edges)
    {
        EXPECT_EQ(getNameForAngle(edge.angle, Fast), edge.at) << edge.angle;
        EXPECT_EQ(getNameForAngle(edge.angle - Nudge, Fast), edge.below) << edge.angle;
        EXPECT_EQ(getNameForAngle(edge.angle + Nudge, Fast), edge.above) << edge.angle;
    }
    // Straight left lies on both ends of the angle range.
    EXPECT_EQ(getNameForAngle(3.1415927f, Fast), "Left");
    EXPECT_EQ(getNameForAngle(-3.1415927f, Fast), "Left");
}

TEST(ManAnimation, FastWalkPlaysThreeTimesAsFast)
{
    EXPECT_FLOAT_EQ(getStepTime(17.f, 0.f, 0.5f), 0.5f);    // 289: walking, but not fast
    EXPECT_FLOAT_EQ(getStepTime(0.f, -17.5f, 0.5f), 1.5f);  // 306.25
}

} // namespace
