#include "tests/ecs/EcsFixture.hpp"

#include <sstream>

using namespace Tessaly;
using EcsTest::Probe;
using EcsTest::throwsError;
using ::testing::ElementsAre;

namespace
{

class EntitySystemTest : public EcsTest::EcsFixture
{
};

TEST_F(EntitySystemTest, EntityIdsStartAtOneAndAreNeverReused)
{
    EXPECT_EQ(1u, system.getNextEntityId());
    EXPECT_EQ(1u, system.createEntity());
    EXPECT_EQ(2u, system.createEntity());
    system.destroyEntity(1);
    EXPECT_FALSE(system.hasEntity(1));
    EXPECT_TRUE(system.hasEntity(2));
    EXPECT_EQ(3u, system.createEntity());
    EXPECT_EQ(2u, system.getEntityCount());
    EXPECT_THAT([&] { system.destroyEntity(1); }, throwsError("Can't destroy a non-existant entity"));
}

TEST_F(EntitySystemTest, ComponentIdsCountAcrossNames)
{
    const EntityId entity = system.createEntity();
    EXPECT_EQ(1u, attach(entity, "A")->getId());
    EXPECT_EQ(2u, attach(entity, "B")->getId());
    system.destroyEntity(entity);
    Component* unattached = system.createComponent("A");
    EXPECT_EQ(3u, unattached->getId());
    EXPECT_EQ(&system, unattached->getSystem());
    EXPECT_EQ(0u, unattached->getOwner());
    EXPECT_FALSE(unattached->isValid());
    EXPECT_EQ(1u, system.getComponentCount());
    system.destroyComponent(unattached);
    EXPECT_EQ(0u, system.getComponentCount());
    EXPECT_EQ(3, deletions);
}

TEST_F(EntitySystemTest, FactoryRegistrationIsChecked)
{
    system.registerComponent("QEL.Tree", [this] { return new Probe("QEL.Game.Tree", &deletions); });
    EXPECT_THAT([&] { system.createComponent("QEL.Tree"); },
                throwsError("The factory function for QEL.Tree creates components of type QEL.Game.Tree"));
    EXPECT_EQ(1, deletions);
    EXPECT_EQ(0u, system.getComponentCount());

    EXPECT_THAT([&] { system.createComponent("Z"); }, throwsError("Can't create a non-existant component"));
    EXPECT_THAT([&] { system.registerComponent("A", [] { return nullptr; }); },
                throwsError("Registered components must have unique names"));
    // The first factory stays.
    Component* kept = system.createComponent("A");
    EXPECT_EQ("A", kept->getName());
    EXPECT_EQ(1u, system.getComponentCount());
    system.destroyComponent(kept);
}

TEST_F(EntitySystemTest, TemplatesAttachInListOrderAndCanBeReplaced)
{
    std::vector<std::size_t> seenByEach;
    system.registerComponent("Counting", [&] {
        auto probe = new Probe("Counting", &deletions);
        probe->onAdded = [&](Probe& self) {
            seenByEach.push_back(system.getAllComponentsOnEntity(self.getOwner(), "").size());
        };
        return probe;
    });
    system.registerTemplate("T", {"A"});
    system.registerTemplate("T", {"Counting", "B", "Counting"});

    const EntityId entity = system.instantiate("T");
    ASSERT_NE(0u, entity);
    // Each component sees only those before it in the list.
    EXPECT_THAT(seenByEach, ElementsAre(1u, 3u));
    EXPECT_TRUE(system.getAllComponentsOnEntity(entity, "A").empty());
    EXPECT_EQ(1u, system.getAllComponentsOnEntity(entity, "B").size());
    EXPECT_THAT([&] { system.instantiate("Missing"); },
                throwsError("Can't instantiate a template that doesn't exist"));
}

TEST_F(EntitySystemTest, MissingRequiredComponentUndoesTheEntity)
{
    system.registerComponent("Needy", [this] {
        auto probe = new Probe("Needy", &deletions);
        probe->onAdded = [](Probe& self) { self.requireComponent("C", [](Message&) {}, true); };
        return probe;
    });
    system.registerTemplate("Incomplete", {"A", "Needy", "B"});
    system.registerTemplate("Complete", {"Needy", "C"});

    EXPECT_EQ(0u, system.instantiate("Incomplete"));
    EXPECT_EQ(0u, system.getEntityCount());
    EXPECT_EQ(0u, system.getComponentCount());
    EXPECT_EQ(3, deletions);
    EXPECT_FALSE(system.hasEntity(1));

    const EntityId entity = system.instantiate("Complete");
    EXPECT_EQ(2u, entity);
    EXPECT_EQ(1u, system.getEntityCount());
}

TEST_F(EntitySystemTest, RequiredComponentMustStillBeThereAtFinalize)
{
    const EntityId entity = system.createEntity();
    attach(entity, "A", [](Probe& self) { self.requireComponent("B", [](Message&) {}); });
    Probe* required = attach(entity, "B");
    system.destroyComponent(required);
    EXPECT_FALSE(system.finalize(entity));
    EXPECT_FALSE(system.hasEntity(entity));

    // Requirements made after finalizing are not checked.
    const EntityId finalized = system.createEntity();
    EXPECT_TRUE(system.finalize(finalized));
    attach(finalized, "A", [](Probe& self) { self.requireComponent("B", [](Message&) {}); });
    EXPECT_TRUE(system.finalize(finalized));
}

TEST_F(EntitySystemTest, ComponentsAreListedByNameInInsertionOrder)
{
    const EntityId entity = system.createEntity();
    Probe* first = attach(entity, "A");
    Probe* middle = attach(entity, "B");
    Probe* last = attach(entity, "A");
    EXPECT_THAT(system.getAllComponentsOnEntity(entity, ""), ElementsAre(first, last, middle));
    EXPECT_THAT(system.getAllComponentsOnEntity(entity, "A"), ElementsAre(first, last));
    EXPECT_TRUE(system.getAllComponentsOnEntity(entity, "C").empty());
}

TEST_F(EntitySystemTest, ComponentDescribesItself)
{
    system.createEntity();
    system.createEntity();
    const EntityId entity = system.createEntity();
    system.destroyComponent(system.createComponent("B"));
    Probe* probe = attach(entity, "A");
    EXPECT_EQ("Component #2 \"A\" owned by entity #3", probe->toString());
    std::ostringstream stream;
    stream << *probe;
    EXPECT_EQ(probe->toString(), stream.str());
}

TEST_F(EntitySystemTest, ComponentCanAddSiblingsAndDestroyItself)
{
    const EntityId entity = system.createEntity();
    Probe* probe = attach(entity, "A");
    Component* sibling = system.createComponent("B");
    probe->addLocalComponent(sibling);
    EXPECT_EQ(entity, sibling->getOwner());

    probe->destroy();
    EXPECT_EQ(1, deletions);
    EXPECT_THAT(system.getAllComponentsOnEntity(entity, ""), ElementsAre(sibling));
    EXPECT_EQ(1u, system.getComponentCount());
}

TEST_F(EntitySystemTest, ErrorsLeaveStateUnchanged)
{
    const EntityId entity = system.createEntity();
    Probe* attached = attach(entity, "A");
    Component* loose = system.createComponent("B");

    EXPECT_THAT([&] { system.addComponent(entity, attached); }, throwsError("Can't add a component to several entities"));
    EXPECT_THAT([&] { system.addComponent(0, loose); }, throwsError("Can't add a component to a non-existant entity"));
    EXPECT_THAT([&] { system.addComponent(9, loose); }, throwsError("Can't add a component to a non-existant entity"));
    EXPECT_EQ(0u, loose->getOwner());
    EXPECT_THAT([&] { system.removeComponent(0, attached); },
                throwsError("Can't remove a component from a non-existant entity"));
    EXPECT_THAT([&] { system.removeComponent(entity, loose); },
                throwsError("Can't remove a component from an entity that doesn't contain it"));
    EXPECT_THAT([&] { system.destroyEntity(0); }, throwsError("Can't destroy a non-existant entity"));
    EXPECT_THAT([&] { system.finalize(0); }, throwsError("Can't finalize a non-existant entity"));
    EXPECT_THAT([&] { system.finalize(7); }, throwsError("Can't finalize a non-existant entity"));
    EXPECT_THAT([&] { system.getAllComponentsOnEntity(0, ""); },
                throwsError("Can't check for components on a non-existant entity"));
    EXPECT_THAT(system.getAllComponentsOnEntity(entity, ""), ElementsAre(attached));
    EXPECT_EQ(2u, system.getComponentCount());
    system.destroyComponent(loose);
}

TEST_F(EntitySystemTest, DestroyingAnEntityNotifiesOncePerComponent)
{
    std::vector<bool> nullPayloads;
    auto record = [this, &nullPayloads](const std::string& by) {
        return [this, &nullPayloads, by](Message& message) {
            log.push_back(by);
            notices.emplace_back(message.type, message.sender);
            nullPayloads.push_back(message.payload.type() == typeid(std::nullptr_t));
        };
    };

    const EntityId watcherEntity = system.createEntity();
    attach(watcherEntity, "B", [&](Probe& self) { self.requestComponent("A", record("global")); });
    const EntityId entity = system.createEntity();
    Probe* first = attach(entity, "A");
    Probe* second = attach(entity, "A");
    attach(entity, "C", [&](Probe& self) { self.requestComponent("A", record("local"), true); });
    log.clear();
    notices.clear();
    nullPayloads.clear();

    system.destroyEntity(entity);
    EXPECT_THAT(log, ElementsAre("global", "local", "global", "local"));
    EXPECT_THAT(notices, ElementsAre(std::make_pair(ComponentDestroyed, first), std::make_pair(ComponentDestroyed, first),
                                     std::make_pair(ComponentDestroyed, second),
                                     std::make_pair(ComponentDestroyed, second)));
    EXPECT_THAT(nullPayloads, ElementsAre(true, true, true, true));
    EXPECT_EQ(3, deletions);
    EXPECT_EQ(1u, system.getComponentCount());
    // The watcher's handler must not be reached during teardown any more.
    system.destroyEntity(watcherEntity);
}

TEST_F(EntitySystemTest, RemovedComponentIsDetachedButKept)
{
    const EntityId entity = system.createEntity();
    EntityId ownerWhenTold = 99;
    attach(entity, "B", [&](Probe& self) {
        self.requestComponent("A", [&](Message& message) {
            if (message.type == ComponentDestroyed)
                ownerWhenTold = message.sender->getOwner();
        }, true);
    });
    Probe* removed = attach(entity, "A", [this](Probe& self) { self.requestMessage("Ping", logAs("removed")); });

    system.removeComponent(entity, removed);
    EXPECT_EQ(0u, ownerWhenTold);
    EXPECT_EQ(0u, removed->getOwner());
    EXPECT_TRUE(system.getAllComponentsOnEntity(entity, "A").empty());
    EXPECT_EQ(2u, system.getComponentCount());
    Message ping;
    system.sendGlobalMessage(system.getMessageRequestId(MessageRequest, "Ping"), ping);
    EXPECT_TRUE(log.empty());

    // It can join another entity.
    const EntityId other = system.createEntity();
    system.addComponent(other, removed);
    EXPECT_EQ(other, removed->getOwner());
    EXPECT_EQ(0, deletions);
}

TEST_F(EntitySystemTest, HandMadeComponentIsAcceptedButInvalid)
{
    const EntityId entity = system.createEntity();
    auto handMade = new Probe("A", &deletions);
    system.addComponent(entity, handMade);
    EXPECT_FALSE(handMade->isValid());
    EXPECT_EQ(0u, handMade->getId());

    EXPECT_THAT([&] { handMade->requestMessage("Ping", [](Message&) {}); },
                throwsError("Can't register a request from an invalid component"));
    EXPECT_THAT([&] { handMade->sendGlobalMessage("Ping", 1); }, throwsError("Invalid sender for global message"));
    handMade->requestMessage("Local", logAs("local"), true);
    handMade->sendMessage("Local", 1);
    EXPECT_THAT(log, ElementsAre("local"));

    // Destroying it directly also takes it off its entity and out of its requests.
    system.destroyComponent(handMade);
    EXPECT_EQ(1, deletions);
    EXPECT_TRUE(system.getAllComponentsOnEntity(entity, "").empty());
    Message message;
    system.sendLocalMessage(entity, system.getMessageRequestId(MessageRequest, "Local"), message);
    EXPECT_EQ(1u, log.size());
    system.destroyEntity(entity);
    EXPECT_EQ(1, deletions);
}

TEST_F(EntitySystemTest, HandlersMayDestroyDuringDestruction)
{
    const EntityId entity = system.createEntity();
    attach(entity, "A");
    attach(entity, "A");
    attach(entity, "C");
    // The first A to go takes the whole entity with it.
    attach(entity, "B", [this, entity](Probe& self) {
        self.requestComponent("A", [this, entity](Message& message) {
            if (message.type == ComponentDestroyed && system.hasEntity(entity))
                system.destroyEntity(entity);
        }, true);
    });

    system.destroyEntity(entity);
    EXPECT_FALSE(system.hasEntity(entity));
    EXPECT_EQ(4, deletions);
    EXPECT_EQ(0u, system.getComponentCount());
    EXPECT_EQ(0u, system.getEntityCount());
}

TEST_F(EntitySystemTest, DestructorDestroysEveryEntity)
{
    int count = 0;
    {
        EntitySystem local;
        local.registerComponent("A", [&count] { return new Probe("A", &count); });
        local.addComponent(local.createEntity(), local.createComponent("A"));
        local.addComponent(local.createEntity(), local.createComponent("A"));
        local.destroyEntity(1);
        EXPECT_EQ(1, count);
    }
    EXPECT_EQ(2, count);
}

} // namespace
