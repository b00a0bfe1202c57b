#include "ecs/Component.hpp"
#include "ecs/RequestList.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Tessaly;
using ::testing::ElementsAre;

namespace
{

class RequestListTest : public ::testing::Test
{
protected:
    RequestListTest()
    {
        for (std::size_t i = 0; i < 4; ++i)
            list.insert({&components[i], {}, false, static_cast<std::int32_t>(i)});
    }

    /// The order as indices of the components.
    static std::vector<long> order(const RequestList::Snapshot& snapshot)
    {
        std::vector<long> indices;
        for (const Request& request : *snapshot)
            indices.push_back(static_cast<const Component*>(request.component) - components);
        return indices;
    }

    static Component components[5];
    RequestList list;
};

Component RequestListTest::components[5] = {Component("0"), Component("1"), Component("2"), Component("3"),
                                             Component("4")};

TEST_F(RequestListTest, ReprioritizedRequestGoesBeforeItsNewEquals)
{
    list.reprioritize(&components[3], 1);
    EXPECT_THAT(order(list.getSnapshot()), ElementsAre(0, 3, 1, 2));
    list.reprioritize(&components[0], 2);
    EXPECT_THAT(order(list.getSnapshot()), ElementsAre(3, 1, 0, 2));
    list.reprioritize(&components[1], 9);
    EXPECT_THAT(order(list.getSnapshot()), ElementsAre(3, 0, 2, 1));
    list.reprioritize(&components[4], -5);  // no request: nothing moves
    EXPECT_THAT(order(list.getSnapshot()), ElementsAre(3, 0, 2, 1));
}

TEST_F(RequestListTest, SnapshotIsUntouchedByLaterChanges)
{
    const RequestList::Snapshot before = list.getSnapshot();
    list.insert({&components[4], {}, false, 0});
    list.remove(&components[2]);
    list.reprioritize(&components[0], 7);
    EXPECT_THAT(order(before), ElementsAre(0, 1, 2, 3));
    EXPECT_THAT(order(list.getSnapshot()), ElementsAre(4, 1, 3, 0));
    EXPECT_EQ(4u, list.getSize());
}

} // namespace
