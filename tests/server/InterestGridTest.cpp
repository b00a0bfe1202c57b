#include "server/InterestGrid.hpp"
#include "server/World.hpp"

#include <gtest/gtest.h>

#include <vector>

using QEL::Hosting::InterestGrid;
using QEL::Hosting::World;
using Plym::Math::Vector3;
using Ids = std::vector<std::uint32_t>;

TEST(InterestGrid, NeighboursEnterAtTheRadiusAndLeaveBeyondATenthMore)
{
    InterestGrid grid(1000.f);
    InterestGrid::Change change;
    const Vector3 here(5000.f, 5000.f, 0.f);
    grid.place(1, here, change);
    struct Step
    {
        float dx;
        float dy;
        Ids entered;
        Ids left;
        const char* what;
    };
    const Step steps[] = {
        {2000.f, 0.f, {}, {}, "far"},
        {1000.f, 0.f, {1}, {}, "exactly at the radius"},
        {0.f, 1099.f, {}, {}, "within a tenth beyond the radius"},
        {1101.f, 0.f, {}, {1}, "more than a tenth beyond"},
        {0.f, -1050.f, {}, {}, "back within the tenth, but not within the radius"},
        {-999.f, 0.f, {1}, {}, "within the radius in the next cell but one"},
        {0.f, 0.f, {}, {}, "on the same spot, height apart"},
    };
    for (const Step& step : steps)
    {
        grid.place(2, here + Vector3(step.dx, step.dy, 500.f), change);
        EXPECT_EQ(change.entered, step.entered) << step.what;
        EXPECT_EQ(change.left, step.left) << step.what;
    }
    EXPECT_EQ(grid.getNeighbours(1), Ids{2});

    // A third player joins both; whoever is removed leaves every list.
    grid.place(3, here, change);
    EXPECT_EQ(change.entered, (Ids{1, 2}));
    EXPECT_EQ(grid.getNeighbours(1), (Ids{2, 3}));
    grid.remove(2);
    EXPECT_EQ(grid.getNeighbours(1), Ids{3});
    EXPECT_EQ(grid.getNeighbours(3), Ids{1});
    EXPECT_TRUE(grid.getNeighbours(2).empty());
}

TEST(InterestGrid, FindsNeighboursOnTheMapsEdgesAndCorners)
{
    InterestGrid grid(700.f);
    InterestGrid::Change change;
    const float edge = World::MapSize;
    const Vector3 spots[] = {{0.f, 0.f, 0.f}, {edge, edge, 0.f}, {edge, 0.f, 0.f}, {0.f, edge, 0.f}};
    std::uint32_t id = 1;
    for (const Vector3& spot : spots)
    {
        grid.place(id, spot, change);
        EXPECT_TRUE(change.entered.empty()) << id;
        grid.place(id + 100, spot + Vector3(spot.x > 0.f ? -650.f : 650.f, spot.y > 0.f ? -200.f : 200.f, 0.f), change);
        EXPECT_EQ(change.entered, Ids{id}) << id;
        ++id;
    }
}
