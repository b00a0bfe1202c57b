#include "ecs/EntitySystem.hpp"
#include "physics/CircleCollisionShape.hpp"
#include "physics/Collision.hpp"
#include "physics/Physical.hpp"
#include "physics/SplittableLeaf.hpp"

#include <boost/any.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using Plym::Math::Vector2;
using Plym::Math::Vector3;
using namespace QEL;

namespace
{

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

// Stands in for the world: answers "AddToQuadTree" by sending "SetTree" to the asker's entity.
class TestWorld : public Tessaly::Component
{
public:
    explicit TestWorld(QuadTree* tree) : Tessaly::Component("Test.World"), mTree(tree) {}

    void addedToEntity() override { requestMessage("AddToQuadTree", &TestWorld::onAddToQuadTree); }

    int questions = 0;

private:
    void onAddToQuadTree(Tessaly::Message& message)
    {
        ++questions;
        sendMessageToEntity(message.sender->getOwner(), "SetTree", mTree);
    }

    QuadTree* mTree;
};

// A shape that reports its deletion.
class WatchedShape : public CircleCollisionShape
{
public:
    WatchedShape(float radius, bool& deleted) : CircleCollisionShape(radius), mDeleted(deleted) {}
    ~WatchedShape() override { mDeleted = true; }

private:
    bool& mDeleted;
};

PolygonCollisionShape* manShape()
{
    return makeOctagon(Vector2(140, 70), 25);
}

bool holds(const QuadTree& tree, const Physical& body)
{
    const std::vector<Physical*> all = tree.getAll();
    return std::find(all.begin(), all.end(), &body) != all.end();
}

class PhysicalTest : public ::testing::Test
{
protected:
    PhysicalTest() : tree(sf::FloatRect(0, 0, 23040, 23040), 8)
    {
        system.registerComponent("Test.World", [this] { return new TestWorld(&tree); });
        system.registerComponent("QEL.Physical", [] { return new Physical; });
        world = static_cast<TestWorld*>(system.createComponent("Test.World"));
        system.addComponent(system.createEntity(), world);
    }

    Physical& attach()
    {
        auto* body = static_cast<Physical*>(system.createComponent("QEL.Physical"));
        system.addComponent(system.createEntity(), body);
        return *body;
    }

    // Configured the way the actors do: shape, static flag, then position.
    Physical& spawn(const Vector3& position, CollisionShape* shape, bool isStatic = false)
    {
        Physical& body = attach();
        body.setShape(shape);
        body.setStatic(isStatic);
        body.setPosition(position);
        return body;
    }

    void step(float dt)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, dt);
        system.sendGlobalMessage(system.getMessageRequestId(Tessaly::MessageRequest, "QEL.Game.Update"), message);
    }

    void sendTo(const Physical& body, const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        system.sendLocalMessage(body.getOwner(), system.getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    QuadTree tree; // outlives the bodies, which the entity system destroys first
    Tessaly::EntitySystem system;
    TestWorld* world = nullptr;
};

} // namespace

TEST_F(PhysicalTest, AttachedBodyGetsTheTreeAndEntersOnItsFirstMove)
{
    Physical& body = attach();
    EXPECT_EQ(body.getName(), "QEL.Physical");
    EXPECT_EQ(world->questions, 1);
    EXPECT_EQ(body.getTree(), &tree);
    EXPECT_EQ(body.getCurrentNode(), nullptr);

    body.setShape(manShape());
    body.setPosition(Vector3(5000, 5000, 0));
    EXPECT_EQ(body.getCurrentNode(), &tree.getRoot());
    EXPECT_TRUE(holds(tree, body));

    // A body that was never placed enters with its first update.
    Physical& other = attach();
    other.setShape(manShape());
    other.setSpeed(Vector3(1000, 1000, 0));
    step(1);
    EXPECT_TRUE(holds(tree, other));
}

TEST(Physical, WithoutAWorldOnlyStoresThePosition)
{
    Tessaly::EntitySystem system;
    system.registerComponent("QEL.Physical", [] { return new Physical; });
    auto* body = static_cast<Physical*>(system.createComponent("QEL.Physical"));
    system.addComponent(system.createEntity(), body);
    body->setShape(manShape());
    body->setPosition(Vector3(1, 2, 3));
    body->update(1);
    EXPECT_EQ(body->getTree(), nullptr);
    EXPECT_EQ(body->getCurrentNode(), nullptr);
    EXPECT_EQ(body->getPosition(), Vector3(1, 2, 3));
}

TEST_F(PhysicalTest, UpdateIntegratesTheSpeed)
{
    Physical& body = spawn(Vector3(5000, 5000, 0), manShape());
    sendTo(body, "SetSpeed", Vector3(100, 0, 10));
    EXPECT_EQ(body.getSpeed(), Vector3(100, 0, 10));
    step(0.5f);
    EXPECT_EQ(body.getPosition(), Vector3(5050, 5000, 5));
    step(0.5f);
    EXPECT_EQ(body.getPosition(), Vector3(5100, 5000, 10));
}

TEST_F(PhysicalTest, StaticBodyStaysAndTheMoverIsPushedBackByTheWholeOverlap)
{
    Physical& cactus = spawn(Vector3(5100, 5000, 0), new CircleCollisionShape(25), true);
    Physical& man = spawn(Vector3(5000, 5000, 0), manShape());
    man.setSpeed(Vector3(100, 0, 0));
    cactus.setSpeed(Vector3(0, 100, 0));

    // The man walks 10 into the cactus (right side 5080 against 5075) and is pushed back 5.
    step(0.1f);
    EXPECT_NEAR(man.getPosition().x, 5005, 1e-3f);
    EXPECT_NEAR(man.getPosition().y, 5000, 1e-3f);
    EXPECT_EQ(cactus.getPosition(), Vector3(5100, 5000, 0));
}

TEST_F(PhysicalTest, TwoMovingBodiesShareThePush)
{
    Physical& a = spawn(Vector3(5000, 5000, 0), manShape());
    Physical& b = spawn(Vector3(5134, 5000, 0), manShape());
    a.update(1.f / 33);
    EXPECT_FLOAT_EQ(a.getPosition().x, 4997);
    EXPECT_FLOAT_EQ(b.getPosition().x, 5137);

    // Now they only touch: nothing more happens.
    step(1.f / 33);
    EXPECT_FLOAT_EQ(a.getPosition().x, 4997);
    EXPECT_FLOAT_EQ(b.getPosition().x, 5137);
}

TEST_F(PhysicalTest, UpdateRequestFollowsTheStaticFlag)
{
    Physical& body = spawn(Vector3(5000, 5000, 0), manShape());
    body.setSpeed(Vector3(10, 0, 0));

    body.setStatic(false); // not static already: no second request
    step(1);
    EXPECT_FLOAT_EQ(body.getPosition().x, 5010);

    body.setStatic(true);
    body.setStatic(true);
    EXPECT_TRUE(body.isStatic());
    step(1);
    EXPECT_FLOAT_EQ(body.getPosition().x, 5010);

    body.setStatic(false);
    step(1);
    EXPECT_FLOAT_EQ(body.getPosition().x, 5020);
}

TEST_F(PhysicalTest, StaticBeforeAttachingNeverRequestsUpdates)
{
    auto* body = static_cast<Physical*>(system.createComponent("QEL.Physical"));
    body->setStatic(true);
    system.addComponent(system.createEntity(), body);
    body->setShape(manShape());
    body->setPosition(Vector3(5000, 5000, 0));
    body->setSpeed(Vector3(10, 0, 0));
    step(1);
    EXPECT_EQ(body->getPosition(), Vector3(5000, 5000, 0));
    EXPECT_TRUE(holds(tree, *body));
}

TEST_F(PhysicalTest, SettingAShapeReplacesAndDeletesThePreviousOne)
{
    Physical& body = attach();
    bool deleted = false;
    body.setShape(new WatchedShape(10, deleted));
    EXPECT_FLOAT_EQ(body.getRadiusSquared(), 100);
    body.setShape(body.getShape()); // the same shape again is kept
    EXPECT_FALSE(deleted);

    CollisionShape* octagon = manShape();
    body.setShape(octagon);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(body.getShape(), octagon);
    EXPECT_NEAR(body.getRadiusSquared(), 5000, 1e-2f);
}

TEST_F(PhysicalTest, GrowingShapeMovesTheBodyUpTheTree)
{
    std::vector<Physical*> crowd;
    for (int i = 0; i < 10; ++i)
        crowd.push_back(&spawn(Vector3(1000.f + 500.f * i, 1000, 0), new CircleCollisionShape(30), true));
    tree.tick();
    auto& root = dynamic_cast<SplittableLeaf&>(tree.getRoot());
    ASSERT_TRUE(root.isSplit());

    Physical& body = spawn(Vector3(11400, 1000, 0), new CircleCollisionShape(30), true);
    ASSERT_EQ(body.getCurrentNode(), root.getChild(0));
    body.setShape(new CircleCollisionShape(200)); // now crosses the vertical centre line
    EXPECT_EQ(body.getCurrentNode(), &root);
    EXPECT_EQ(root.getItems(), std::vector<Physical*>{&body});
}

TEST_F(PhysicalTest, MessagesSetPositionSpeedAndTree)
{
    Physical& body = attach();
    body.setShape(manShape());
    sendTo(body, "SetPosition", Vector3(3000, 4000, 5));
    EXPECT_EQ(body.getPosition(), Vector3(3000, 4000, 5));
    EXPECT_TRUE(holds(tree, body));

    QuadTree other(sf::FloatRect(0, 0, 8000, 8000), 4);
    sendTo(body, "SetTree", &other);
    EXPECT_EQ(body.getTree(), &other);
    EXPECT_FALSE(holds(tree, body));
    sendTo(body, "SetPosition", Vector3(3000, 4100, 5));
    EXPECT_TRUE(holds(other, body));
    system.destroyComponent(&body); // leaves the other tree before it goes away
    EXPECT_TRUE(other.getAll().empty());
}

TEST_F(PhysicalTest, PayloadOfTheWrongTypeIsABadCast)
{
    Physical& body = attach();
    try
    {
        sendTo(body, "SetSpeed", 5.f);
        FAIL() << "no exception";
    }
    catch (const boost::bad_any_cast& error)
    {
        EXPECT_STREQ(error.what(), "boost::bad_any_cast: failed conversion using boost::any_cast");
    }
    EXPECT_THROW(sendTo(body, "SetTree", 0), boost::bad_any_cast);
}

TEST_F(PhysicalTest, BodyOutsideTheWorldAsksForTheTreeAgain)
{
    Physical& body = spawn(Vector3(-500, 5000, 0), manShape());
    EXPECT_EQ(world->questions, 2);
    EXPECT_EQ(body.getTree(), &tree); // answered at once
    EXPECT_EQ(body.getCurrentNode(), nullptr);
    EXPECT_FALSE(holds(tree, body));

    // Walking back in, the update re-enters it.
    body.setSpeed(Vector3(1000, 0, 0));
    step(1);
    EXPECT_NE(body.getCurrentNode(), nullptr);
    EXPECT_TRUE(holds(tree, body));
}

TEST_F(PhysicalTest, BodyLargerThanTheWorldStaysOut)
{
    Physical& body = spawn(Vector3(11520, 11520, 0), new CircleCollisionShape(20000));
    EXPECT_EQ(body.getCurrentNode(), nullptr);
    step(1);
    EXPECT_EQ(body.getCurrentNode(), nullptr);
    EXPECT_TRUE(tree.getAll().empty());
}

TEST_F(PhysicalTest, NanPositionLeavesTheTreeCleanlyAndComesBack)
{
    Physical& neighbour = spawn(Vector3(5000, 5000, 0), manShape());
    Physical& body = spawn(Vector3(5100, 5000, 0), manShape());
    ASSERT_TRUE(holds(tree, body));

    sendTo(body, "SetPosition", Vector3(nan, 5000, 0));
    EXPECT_EQ(body.getCurrentNode(), nullptr);
    EXPECT_FALSE(holds(tree, body));
    EXPECT_EQ(body.getTree(), &tree);

    step(1); // retried and refused; the neighbour is not pushed by a NaN
    EXPECT_FALSE(holds(tree, body));
    EXPECT_EQ(neighbour.getPosition(), Vector3(5000, 5000, 0));

    sendTo(body, "SetPosition", Vector3(8000, 5000, 0));
    EXPECT_TRUE(holds(tree, body));
    EXPECT_EQ(tree.getAll().size(), 2u);
}

TEST_F(PhysicalTest, InfiniteSpeedTakesTheBodyOutUntilItIsPlacedAgain)
{
    Physical& body = spawn(Vector3(5000, 5000, 0), manShape());
    body.setSpeed(Vector3(inf, 0, 0));
    step(1);
    EXPECT_EQ(body.getCurrentNode(), nullptr);
    EXPECT_TRUE(tree.getAll().empty());
    body.setSpeed(Vector3(0, 0, 0));
    step(1); // x stays infinite: still out
    EXPECT_TRUE(tree.getAll().empty());
    body.setPosition(Vector3(5000, 5000, 0));
    EXPECT_EQ(tree.getAll().size(), 1u);
}

TEST_F(PhysicalTest, DestroyingTheEntityTakesTheBodyOutOfTheTree)
{
    Physical& a = spawn(Vector3(5000, 5000, 0), manShape());
    Physical& b = spawn(Vector3(9000, 5000, 0), manShape());
    system.destroyEntity(a.getOwner());
    EXPECT_EQ(tree.getAll(), std::vector<Physical*>{&b});
}
