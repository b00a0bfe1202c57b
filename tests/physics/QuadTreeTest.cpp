#include "physics/CircleCollisionShape.hpp"
#include "physics/FinalLeaf.hpp"
#include "physics/Physical.hpp"
#include "physics/SplittableLeaf.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <vector>

using Plym::Math::Vector2;
using Plym::Math::Vector3;
using namespace QEL;

namespace
{

const sf::FloatRect world(0, 0, 23040, 23040);

std::unique_ptr<Physical> makeBody(float x, float y, float radius)
{
    auto body = std::make_unique<Physical>();
    body->setShape(new CircleCollisionShape(radius));
    body->setPosition(Vector3(x, y, 0));
    return body;
}

// Inserts the body the way its Physical would, recording the node that holds it.
QuadTree::Leaf* insert(QuadTree& tree, Physical& body)
{
    body.setCurrentNode(tree.insert(&body));
    return body.getCurrentNode();
}

// Moves a body held by the tree and lets its node re-place it.
QuadTree::Leaf* move(Physical& body, float x, float y)
{
    body.setPosition(Vector3(x, y, 0));
    return body.getCurrentNode();
}

SplittableLeaf& splittable(QuadTree::Leaf& node)
{
    return dynamic_cast<SplittableLeaf&>(node);
}

SplittableLeaf& root(QuadTree& tree)
{
    return splittable(tree.getRoot());
}

const std::vector<Physical*>& itemsOf(const QuadTree::Leaf& node)
{
    if (const auto* inner = dynamic_cast<const SplittableLeaf*>(&node))
        return inner->getItems();
    return dynamic_cast<const FinalLeaf&>(node).getItems();
}

// Every held body names its node as current node, and no body is held twice.
void checkNode(const QuadTree::Leaf& node, std::set<const Physical*>& seen)
{
    for (const Physical* item : itemsOf(node))
    {
        EXPECT_EQ(item->getCurrentNode(), &node);
        EXPECT_TRUE(seen.insert(item).second) << "body held twice";
    }
    const auto* inner = dynamic_cast<const SplittableLeaf*>(&node);
    if (!inner || !inner->isSplit())
        return;
    for (unsigned i = 0; i < 4; ++i)
    {
        EXPECT_EQ(inner->getChild(i)->getParent(), &node);
        checkNode(*inner->getChild(i), seen);
    }
}

std::set<const Physical*> checkTree(QuadTree& tree)
{
    std::set<const Physical*> seen;
    checkNode(tree.getRoot(), seen);
    return seen;
}

std::vector<Physical*> pointers(const std::vector<std::unique_ptr<Physical>>& bodies)
{
    std::vector<Physical*> result;
    for (const auto& body : bodies)
        result.push_back(body.get());
    return result;
}

// Ten bodies in the top-left quadrant of the world.
std::vector<std::unique_ptr<Physical>> topLeftCrowd(QuadTree& tree, unsigned count = 10)
{
    std::vector<std::unique_ptr<Physical>> bodies;
    for (unsigned i = 0; i < count; ++i)
    {
        bodies.push_back(makeBody(1000.f + 500.f * i, 1000, 30));
        insert(tree, *bodies.back());
    }
    return bodies;
}

} // namespace

TEST(QuadTree, TenBodiesInOneQuadrantSplitTheRootOnTheNextTick)
{
    QuadTree tree(world, 8);
    auto bodies = topLeftCrowd(tree);
    for (const auto& body : bodies)
        EXPECT_EQ(body->getCurrentNode(), &tree.getRoot());
    EXPECT_FALSE(root(tree).isSplit());

    tree.tick();
    ASSERT_TRUE(root(tree).isSplit());
    QuadTree::Leaf* topLeft = root(tree).getChild(0);
    EXPECT_EQ(topLeft->getBounds(), sf::FloatRect(0, 0, 11520, 11520));
    EXPECT_EQ(topLeft->getDepth(), 7);
    EXPECT_TRUE(root(tree).getItems().empty());
    EXPECT_EQ(itemsOf(*topLeft), pointers(bodies));
    checkTree(tree);
}

TEST(QuadTree, NineBodiesDoNotSplit)
{
    QuadTree tree(world, 8);
    auto bodies = topLeftCrowd(tree, 9);
    for (int i = 0; i < 30; ++i)
        tree.tick();
    EXPECT_FALSE(root(tree).isSplit());
}

TEST(QuadTree, BodiesTouchingOrCrossingACentreLineStayInTheNode)
{
    QuadTree tree(world, 8);
    auto crowd = topLeftCrowd(tree);
    tree.tick();
    ASSERT_TRUE(root(tree).isSplit());
    QuadTree::Leaf* rootNode = &tree.getRoot();

    // Radius 10: the square's right edge is x + 10, the centre line x = 11520.
    auto touchingLeft = makeBody(11510, 1000, 10);
    auto justLeft = makeBody(11509.5f, 1000, 10);
    auto crossing = makeBody(11520, 1000, 10);
    auto touchingRight = makeBody(11530, 1000, 10);
    auto justRight = makeBody(11530.5f, 1000, 10);
    auto touchingTop = makeBody(1000, 11510, 10);
    EXPECT_EQ(insert(tree, *touchingLeft), rootNode);
    EXPECT_EQ(insert(tree, *justLeft), root(tree).getChild(0));
    EXPECT_EQ(insert(tree, *crossing), rootNode);
    EXPECT_EQ(insert(tree, *touchingRight), rootNode);
    EXPECT_EQ(insert(tree, *justRight), root(tree).getChild(1));
    EXPECT_EQ(insert(tree, *touchingTop), rootNode);
    checkTree(tree);
}

TEST(QuadTree, QuadrantsOfANonSquareNode)
{
    QuadTree tree(sf::FloatRect(0, 0, 1000, 500), 8);
    // Ten bodies on the centre point force a split and stay in the root.
    std::vector<std::unique_ptr<Physical>> centre;
    for (int i = 0; i < 10; ++i)
    {
        centre.push_back(makeBody(500, 250, 5));
        insert(tree, *centre.back());
    }
    tree.tick();
    SplittableLeaf& node = root(tree);
    ASSERT_TRUE(node.isSplit());
    EXPECT_EQ(node.getChild(0)->getBounds(), sf::FloatRect(0, 0, 500, 250));
    EXPECT_EQ(node.getChild(1)->getBounds(), sf::FloatRect(500, 0, 500, 250));
    EXPECT_EQ(node.getChild(2)->getBounds(), sf::FloatRect(500, 250, 500, 250));
    EXPECT_EQ(node.getChild(3)->getBounds(), sf::FloatRect(0, 250, 500, 250));
    EXPECT_EQ(node.getItems().size(), 10u);

    auto bottomLeft = makeBody(100, 400, 10);
    auto topLeft = makeBody(400, 100, 10);
    auto topRight = makeBody(600, 100, 10);
    auto bottomRight = makeBody(600, 400, 10);
    auto acrossMiddle = makeBody(100, 245, 10);
    EXPECT_EQ(insert(tree, *bottomLeft), node.getChild(3));
    EXPECT_EQ(insert(tree, *topLeft), node.getChild(0));
    EXPECT_EQ(insert(tree, *topRight), node.getChild(1));
    EXPECT_EQ(insert(tree, *bottomRight), node.getChild(2));
    EXPECT_EQ(insert(tree, *acrossMiddle), &node);
}

TEST(QuadTree, ANodeFullOfStraddlersSplitsOnlyOnce)
{
    QuadTree tree(sf::FloatRect(0, 0, 1000, 1000), 8);
    std::vector<std::unique_ptr<Physical>> centre;
    for (int i = 0; i < 12; ++i)
    {
        centre.push_back(makeBody(500, 500, 5));
        insert(tree, *centre.back());
    }
    auto inChild = makeBody(100, 100, 5);
    tree.tick();
    const QuadTree::Leaf* topLeft = root(tree).getChild(0);
    EXPECT_EQ(insert(tree, *inChild), topLeft);
    for (int i = 0; i < 300; ++i)
        tree.tick();
    EXPECT_EQ(root(tree).getChild(0), topLeft);
    EXPECT_EQ(inChild->getCurrentNode(), topLeft);
    EXPECT_EQ(root(tree).getItems().size(), 12u);
}

TEST(QuadTree, SparseSubtreeMergesOnTheNextTenthTick)
{
    QuadTree tree(world, 8);
    std::vector<std::unique_ptr<Physical>> bodies;
    for (int i = 0; i < 5; ++i)
        bodies.push_back(makeBody(1000.f + 1000.f * i, 1000, 30));
    for (int i = 0; i < 5; ++i)
        bodies.push_back(makeBody(13000.f + 1000.f * i, 1000, 30));
    for (auto& body : bodies)
        insert(tree, *body);
    tree.tick(); // splits; the counter does not advance on this tick
    ASSERT_TRUE(root(tree).isSplit());

    for (int i = 0; i < 3; ++i)
        tree.tick(); // counter 3
    bodies.erase(bodies.begin() + 2);
    for (int i = 0; i < 6; ++i)
        tree.tick(); // counter 9
    EXPECT_TRUE(root(tree).isSplit());
    tree.tick(); // counter 10
    EXPECT_FALSE(root(tree).isSplit());
    EXPECT_EQ(root(tree).getItems(), pointers(bodies));
    for (const auto& body : bodies)
        EXPECT_EQ(body->getCurrentNode(), &tree.getRoot());
    checkTree(tree);
}

TEST(QuadTree, MergeCounterWrapsAfter255)
{
    QuadTree tree(world, 8);
    std::vector<std::unique_ptr<Physical>> bodies;
    for (int i = 0; i < 5; ++i)
        bodies.push_back(makeBody(1000.f + 1000.f * i, 1000, 30));
    for (int i = 0; i < 5; ++i)
        bodies.push_back(makeBody(13000.f + 1000.f * i, 1000, 30));
    for (auto& body : bodies)
        insert(tree, *body);
    tree.tick();
    for (int i = 0; i < 250; ++i)
        tree.tick(); // counter 250: ten bodies, no merge
    ASSERT_TRUE(root(tree).isSplit());

    bodies.pop_back();
    for (int i = 0; i < 5; ++i)
        tree.tick(); // 251 .. 255
    EXPECT_TRUE(root(tree).isSplit());
    tree.tick(); // 256 wraps to 0, a multiple of 10
    EXPECT_FALSE(root(tree).isSplit());
    checkTree(tree);
}

TEST(QuadTree, ChildrenAreVisitedTopLeftTopRightBottomLeftBottomRight)
{
    QuadTree tree(sf::FloatRect(0, 0, 1000, 1000), 8);
    std::vector<std::unique_ptr<Physical>> centre;
    for (int i = 0; i < 10; ++i)
    {
        centre.push_back(makeBody(500, 500, 5));
        insert(tree, *centre.back());
    }
    tree.tick();
    auto topLeft = makeBody(100, 100, 5);
    auto topRight = makeBody(900, 100, 5);
    auto bottomRight = makeBody(900, 900, 5);
    auto bottomLeft = makeBody(100, 900, 5);
    for (Physical* body : {bottomRight.get(), bottomLeft.get(), topRight.get(), topLeft.get()})
        insert(tree, *body);

    std::vector<Physical*> expected = pointers(centre);
    expected.insert(expected.end(), {topLeft.get(), topRight.get(), bottomLeft.get(), bottomRight.get()});
    EXPECT_EQ(tree.getAll(), expected);

    // Queries visit the children in index order instead.
    const std::vector<Physical*> corners = tree.queryRect(sf::FloatRect(50, 50, 900, 900));
    const std::vector<Physical*> cornersExpected = {topLeft.get(), topRight.get(), bottomRight.get(), bottomLeft.get()};
    EXPECT_EQ(std::vector<Physical*>(corners.end() - 4, corners.end()), cornersExpected);
}

TEST(QuadTree, InnerAndBottomNodesUseDifferentCircleTests)
{
    // Radius 10 at the origin, query circle of radius 10 at (15, 0): 10 + 10 > 15, but
    // 100 + 100 is not above 225.
    auto body = makeBody(0, 0, 10);
    std::vector<Physical*> found;

    SplittableLeaf inner(nullptr, sf::FloatRect(-100, -100, 200, 200), 8);
    ASSERT_EQ(inner.insert(body.get()), &inner);
    inner.queryCircle(found, Vector2(15, 0), 10);
    EXPECT_EQ(found.size(), 1u);
    inner.remove(body.get());

    found.clear();
    FinalLeaf bottom(nullptr, sf::FloatRect(-100, -100, 200, 200), 0);
    ASSERT_EQ(bottom.insert(body.get()), &bottom);
    bottom.queryCircle(found, Vector2(15, 0), 10);
    EXPECT_TRUE(found.empty());
    bottom.queryCircle(found, Vector2(14, 0), 10);
    EXPECT_EQ(found.size(), 1u);
}

TEST(QuadTree, RectQueryNeedsTheClosestPointStrictlyInsideTheCircle)
{
    QuadTree tree(sf::FloatRect(-100, -100, 200, 200), 8);
    auto body = makeBody(0, 0, 10);
    insert(tree, *body);
    // Closest point (6, 8): distance² exactly 100, not below the squared radius.
    EXPECT_TRUE(tree.queryRect(sf::FloatRect(6, 8, 50, 50)).empty());
    EXPECT_EQ(tree.queryRect(sf::FloatRect(6, 7.9f, 50, 50)).size(), 1u);
    // A rectangle around the position.
    EXPECT_EQ(tree.queryRect(sf::FloatRect(-1, -1, 2, 2)).size(), 1u);
}

TEST(QuadTree, CircleQueryFindsNeighboursAndItselfOnly)
{
    QuadTree tree(world, 8);
    auto crowd = topLeftCrowd(tree);
    tree.tick();
    tree.tick(); // child 0 splits as well
    auto far = makeBody(20000, 20000, 30);
    insert(tree, *far);

    Physical& self = *crowd[3];
    const std::vector<Physical*> found = tree.queryCircle(self.getPosition().xy(), 30);
    EXPECT_NE(std::find(found.begin(), found.end(), &self), found.end());
    EXPECT_EQ(std::find(found.begin(), found.end(), far.get()), found.end());
    // Neighbours 500 apart with radius 30 do not come near.
    EXPECT_EQ(found.size(), 1u);
    EXPECT_EQ(tree.queryCircle(Vector2(1250, 1000), 250).size(), 2u);
}

TEST(QuadTree, QueriesAgreeWithAFullScan)
{
    QuadTree tree(world, 8);
    std::mt19937 random(777);
    std::uniform_real_distribution<float> coordinate(0, 23040);
    std::normal_distribution<float> near(0, 400);
    std::uniform_real_distribution<float> radius(3, 150);
    std::vector<std::unique_ptr<Physical>> bodies;
    for (int i = 0; i < 1500; ++i)
    {
        // Clusters, so that nodes split deep down.
        const float x = i < 300 ? coordinate(random) : 5000 + near(random);
        const float y = i < 300 ? coordinate(random) : 7000 + near(random);
        bodies.push_back(makeBody(x, y, radius(random)));
        insert(tree, *bodies.back());
    }
    for (int i = 0; i < 40; ++i)
        tree.tick();
    ASSERT_TRUE(root(tree).isSplit());
    const std::set<const Physical*> held = checkTree(tree);

    for (int query = 0; query < 300; ++query)
    {
        const Vector2 center(query % 2 ? 5000 + near(random) : coordinate(random), 7000 + near(random));
        const float r = radius(random);
        const std::vector<Physical*> circle = tree.queryCircle(center, r);
        const std::set<const Physical*> found(circle.begin(), circle.end());
        const sf::FloatRect rect(center.x - r, center.y - r, 2 * r, r);
        const std::vector<Physical*> inRect = tree.queryRect(rect);
        const std::set<const Physical*> foundInRect(inRect.begin(), inRect.end());
        for (const Physical* body : held)
        {
            const Vector2 offset = center - body->getPosition().xy();
            // Bottom nodes test r² + R² > d², inner ones r + R > d: every body passing the
            // first is found, every body found passes the second.
            if (r * r + body->getRadiusSquared() > offset.getLengthSquared())
            {
                EXPECT_EQ(found.count(body), 1u);
            }
            if (found.count(body))
            {
                EXPECT_GT(r + body->getRadius(), offset.getLength());
            }

            const Vector3 p = body->getPosition();
            const float dx = std::clamp(p.x, rect.left, rect.left + rect.width) - p.x;
            const float dy = std::clamp(p.y, rect.top, rect.top + rect.height) - p.y;
            EXPECT_EQ(foundInRect.count(body), dx * dx + dy * dy < body->getRadiusSquared() ? 1u : 0u);
        }
    }
}

TEST(QuadTree, BodyLargerThanTheWorldIsNotStored)
{
    QuadTree tree(sf::FloatRect(0, 0, 100, 100), 8);
    auto huge = makeBody(50, 50, 60);
    EXPECT_EQ(tree.insert(huge.get()), nullptr);
    // One unit of excess is tolerated on insertion.
    auto snug = makeBody(50, 50, 50.4f);
    EXPECT_EQ(insert(tree, *snug), &tree.getRoot());
    auto tooBig = makeBody(50, 50, 50.6f);
    EXPECT_EQ(tree.insert(tooBig.get()), nullptr);
    auto outside = makeBody(500, 50, 10);
    EXPECT_EQ(tree.insert(outside.get()), nullptr);
    EXPECT_EQ(tree.getAll(), std::vector<Physical*>{snug.get()});
}

TEST(QuadTree, PositionsThatAreNotNumbersStayOutOfTheTree)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QuadTree tree(world, 8);
    for (Vector2 position : {Vector2(nan, 100), Vector2(100, nan), Vector2(inf, 100), Vector2(100, -inf)})
    {
        auto body = makeBody(position.x, position.y, 30);
        EXPECT_EQ(tree.insert(body.get()), nullptr);
    }
    EXPECT_TRUE(tree.getAll().empty());
}

TEST(QuadTree, BodyTurningNanLeavesTheTreeFromAnyNode)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QuadTree tree(world, 1);
    auto crowd = topLeftCrowd(tree);
    auto inRoot = makeBody(11520, 11520, 30);
    insert(tree, *inRoot);
    tree.tick();
    tree.tick();
    Physical& inBottom = *crowd[0];
    ASSERT_NE(dynamic_cast<FinalLeaf*>(inBottom.getCurrentNode()), nullptr);

    EXPECT_EQ(inBottom.getCurrentNode()->update(&inBottom), inBottom.getCurrentNode());
    inBottom.setPosition(Vector3(nan, 100, 0));
    EXPECT_EQ(inBottom.getCurrentNode(), nullptr);
    inRoot->setPosition(Vector3(11520, nan, 0));
    EXPECT_EQ(inRoot->getCurrentNode(), nullptr);

    const std::set<const Physical*> held = checkTree(tree);
    EXPECT_EQ(held.size(), 9u);
    EXPECT_EQ(held.count(&inBottom), 0u);
    EXPECT_EQ(held.count(inRoot.get()), 0u);
}

TEST(QuadTree, MovingBodiesFollowTheirQuadrant)
{
    QuadTree tree(world, 8);
    auto crowd = topLeftCrowd(tree);
    tree.tick();
    Physical& body = *crowd[0];
    ASSERT_EQ(body.getCurrentNode(), root(tree).getChild(0));
    EXPECT_EQ(move(body, 20000, 20000), root(tree).getChild(2));
    EXPECT_EQ(move(body, 11520, 20000), &tree.getRoot());
    EXPECT_EQ(move(body, 1000, 20000), root(tree).getChild(3));
    checkTree(tree);
}

TEST(QuadTree, DestroyedBodiesLeaveNoTraceAfterSplitAndMerge)
{
    QuadTree tree(world, 8);
    auto bodies = topLeftCrowd(tree);
    tree.tick(); // split: every body was re-inserted into child 0
    bodies[4].reset();
    EXPECT_EQ(checkTree(tree).size(), 9u);

    // Child 0 holds 9 now; the root merges its subtree on its tenth tick.
    for (int i = 0; i < 10; ++i)
        tree.tick();
    ASSERT_FALSE(root(tree).isSplit());
    bodies[7].reset(); // its old node is gone; the root holds it now
    const std::set<const Physical*> held = checkTree(tree);
    EXPECT_EQ(held.size(), 8u);
    EXPECT_EQ(tree.getAll().size(), 8u);
}

TEST(QuadTree, DestroyingTheTreeDetachesItsBodies)
{
    auto tree = std::make_unique<QuadTree>(world, 8);
    std::vector<std::unique_ptr<Physical>> bodies;
    for (int i = 0; i < 10; ++i)
    {
        bodies.push_back(makeBody(0, 0, 30));
        bodies.back()->setTree(tree.get());
        bodies.back()->setPosition(Vector3(1000.f + 500.f * i, 1000, 0));
    }
    tree->tick();
    ASSERT_EQ(checkTree(*tree).size(), 10u);
    tree.reset();
    for (const auto& body : bodies)
    {
        EXPECT_EQ(body->getCurrentNode(), nullptr);
        EXPECT_EQ(body->getTree(), nullptr);
    }
}

TEST(QuadTree, RandomWalkKeepsEveryBodyAndNodeConsistent)
{
    // Bodies wander, leave the world, turn NaN, appear and vanish while the tree splits
    // and merges; the tree never holds a body twice nor a body that is gone.
    QuadTree tree(sf::FloatRect(0, 0, 4000, 4000), 5);
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> coordinate(-200, 4200);
    std::uniform_real_distribution<float> step(-150, 150);
    std::uniform_real_distribution<float> radius(5, 120);
    std::uniform_int_distribution<int> dice(0, 99);

    std::vector<std::unique_ptr<Physical>> bodies;
    for (int round = 0; round < 400; ++round)
    {
        if (bodies.size() < 300 || dice(random) < 30)
        {
            bodies.push_back(makeBody(0, 0, radius(random)));
            bodies.back()->setTree(&tree);
            bodies.back()->setPosition(Vector3(coordinate(random), coordinate(random), 0));
        }
        for (auto& body : bodies)
        {
            if (!body->getTree())
                body->setTree(&tree); // what the world's answer would do
            const int roll = dice(random);
            const Vector3 position = body->getPosition();
            if (roll < 2)
                body->setPosition(Vector3(std::numeric_limits<float>::quiet_NaN(), 10, 0));
            else if (roll < 4 || !std::isfinite(position.x))
                body->setPosition(Vector3(coordinate(random), coordinate(random), 0));
            else if (roll < 60)
                body->setPosition(position + Vector3(step(random), step(random), 0));
        }
        if (dice(random) < 40)
            bodies.erase(bodies.begin() + dice(random) % bodies.size());
        tree.tick();

        const std::set<const Physical*> held = checkTree(tree);
        std::size_t placed = 0;
        for (const auto& body : bodies)
            placed += body->getCurrentNode() != nullptr;
        ASSERT_EQ(held.size(), placed) << "round " << round;
        for (const Physical* item : held)
            ASSERT_TRUE(std::any_of(bodies.begin(), bodies.end(), [item](const auto& b) { return b.get() == item; }));
    }
}
