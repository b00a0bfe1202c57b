#include "tests/ecs/EcsFixture.hpp"

using namespace Tessaly;
using EcsTest::Probe;
using EcsTest::throwsError;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace
{

class MessagingTest : public EcsTest::EcsFixture
{
protected:
    RequestId idOf(const std::string& name) { return system.getMessageRequestId(MessageRequest, name); }

    void sendGlobal(const std::string& name)
    {
        Message message;
        system.sendGlobalMessage(idOf(name), message);
    }

    /// A probe on a new entity that requests the name globally, logging its tag.
    Probe* listener(const std::string& name, const std::string& tag)
    {
        return attach(system.createEntity(), "A", [&](Probe& self) { self.requestMessage(name, logAs(tag)); });
    }
};

TEST_F(MessagingTest, RequestIdsArePerKindAndName)
{
    EXPECT_EQ(0u, system.findRequestId(MessageRequest, "X"));
    EXPECT_EQ(1u, system.getMessageRequestId(MessageRequest, "X"));
    EXPECT_EQ(1u, system.getMessageRequestId(MessageRequest, "X"));
    EXPECT_EQ(2u, system.getMessageRequestId(ComponentRequest, "X"));
    EXPECT_EQ(1u, system.findRequestId(MessageRequest, "X"));
    EXPECT_EQ(0u, system.findRequestId(ComponentRequest, "Y"));
    EXPECT_EQ(3u, system.getMessageRequestId(MessageRequest, "Y"));
}

TEST_F(MessagingTest, EqualPrioritiesRunNewestFirstAndPrioritiesReorder)
{
    Probe* first = listener("Draw", "1");
    listener("Draw", "2");
    Probe* third = listener("Draw", "3");
    sendGlobal("Draw");
    EXPECT_THAT(log, ElementsAre("3", "2", "1"));

    log.clear();
    first->changeRequestPriority(idOf("Draw"), -1);
    sendGlobal("Draw");
    EXPECT_THAT(log, ElementsAre("1", "3", "2"));

    log.clear();
    third->changeRequestPriority(idOf("Draw"), 5);
    sendGlobal("Draw");
    EXPECT_THAT(log, ElementsAre("1", "2", "3"));

    // Moved to an existing priority, it goes before the requests already there.
    log.clear();
    third->changeRequestPriority(idOf("Draw"), -1);
    sendGlobal("Draw");
    EXPECT_THAT(log, ElementsAre("3", "1", "2"));
}

TEST_F(MessagingTest, PriorityChangeAppliesLocallyAndGlobally)
{
    const EntityId entity = system.createEntity();
    auto both = [this](const std::string& tag) {
        return [this, tag](Probe& self) {
            self.requestMessage("Draw", logAs(tag + " global"));
            self.requestMessage("Draw", logAs(tag + " local"), true);
        };
    };
    Probe* early = attach(entity, "A", both("early"));
    attach(entity, "B", both("late"));
    early->changeRequestPriority(idOf("Draw"), 1);

    sendGlobal("Draw");
    Message message;
    system.sendLocalMessage(entity, idOf("Draw"), message);
    EXPECT_THAT(log, ElementsAre("late global", "early global", "late local", "early local"));
}

TEST_F(MessagingTest, HandledStopsDeliveryAndNamesTheAnswerer)
{
    listener("Ask", "last");
    Probe* answerer = attach(system.createEntity(), "B", [this](Probe& self) {
        self.requestMessage("Ask", [this](Message& message) {
            log.push_back("answer");
            message.payload = 42;
            message.handled = true;
        });
    });
    listener("Ask", "first");
    Probe* asker = attach(system.createEntity(), "C");

    const Message question(Custom, asker, 0);
    asker->sendGlobalMessage(idOf("Ask"), question);
    EXPECT_THAT(log, ElementsAre("first", "answer"));
    EXPECT_FALSE(question.handled);
    EXPECT_EQ(0, boost::any_cast<int>(question.payload));

    const Message answer = asker->sendGlobalQuestion(idOf("Ask"), question);
    EXPECT_TRUE(answer.handled);
    EXPECT_EQ(answerer, answer.sender);
    EXPECT_EQ(42, boost::any_cast<int>(answer.payload));
}

TEST_F(MessagingTest, UnansweredQuestionKeepsTheAsker)
{
    listener("Ask", "only");
    Probe* asker = attach(system.createEntity(), "C");
    const Message answer = asker->sendGlobalQuestion("Ask", std::string("default"));
    EXPECT_FALSE(answer.handled);
    EXPECT_EQ(asker, answer.sender);
    EXPECT_EQ(Custom, answer.type);
    EXPECT_EQ("default", boost::any_cast<std::string>(answer.payload));
}

TEST_F(MessagingTest, GlobalAndLocalSendsReachOnlyTheirOwnRequests)
{
    const EntityId entity = system.createEntity();
    Probe* probe = attach(entity, "A", [this](Probe& self) {
        self.requestMessage("Hit", logAs("global"));
        self.requestMessage("Hit", logAs("local"), true);
    });
    const EntityId other = system.createEntity();
    attach(other, "A", [this](Probe& self) { self.requestMessage("Hit", logAs("other local"), true); });

    probe->sendGlobalMessage("Hit", 1);
    EXPECT_THAT(log, ElementsAre("global"));
    log.clear();
    probe->sendMessage("Hit", 1);
    EXPECT_THAT(log, ElementsAre("local"));
    log.clear();
    probe->sendMessageToEntity(other, "Hit", 1);
    EXPECT_THAT(log, ElementsAre("other local"));
    log.clear();
    probe->unrequestMessage("Hit", true);
    probe->sendMessage("Hit", 1);
    probe->sendGlobalMessage("Hit", 1);
    EXPECT_THAT(log, ElementsAre("global"));
}

TEST_F(MessagingTest, ThinFormsSendACustomMessageFromTheComponent)
{
    std::vector<Message> received;
    const EntityId entity = system.createEntity();
    Probe* probe = attach(entity, "A", [&](Probe& self) {
        self.requestMessage("Name?", [&](Message& message) {
            received.push_back(message);
            message.payload = std::string("Bob");
            message.handled = true;
        }, true);
    });
    Probe* asker = attach(system.createEntity(), "B");

    const Message answer = asker->sendQuestionToEntity(entity, "Name?", std::string());
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(Custom, received[0].type);
    EXPECT_EQ(asker, received[0].sender);
    EXPECT_FALSE(received[0].handled);
    EXPECT_EQ(probe, answer.sender);
    EXPECT_EQ("Bob", boost::any_cast<std::string>(answer.payload));
    EXPECT_EQ("Bob", boost::any_cast<std::string>(probe->sendQuestion("Name?", std::string()).payload));
}

TEST_F(MessagingTest, NullSenderIsDeliveredButAnUnattachedOneIsRefused)
{
    listener("Net", "heard");
    Message anonymous(Custom, nullptr, 0);
    system.sendGlobalMessage(idOf("Net"), anonymous);
    EXPECT_THAT(log, ElementsAre("heard"));

    Component* unattached = system.createComponent("B");
    Message fromNowhere(Custom, unattached, 0);
    EXPECT_THAT([&] { system.sendGlobalMessage(idOf("Net"), fromNowhere); },
                throwsError("Invalid sender for global message"));
    EXPECT_EQ(1u, log.size());
    system.destroyComponent(unattached);
}

TEST_F(MessagingTest, RemovalDuringDeliveryTakesEffectFromTheNextSend)
{
    Probe* removed = listener("Tick", "removed");
    Probe* remover = attach(system.createEntity(), "B", [&](Probe& self) {
        self.requestMessage("Tick", [&](Message&) {
            log.push_back("remover");
            removed->unrequestMessage("Tick");
        });
    });
    remover->changeRequestPriority(idOf("Tick"), -1);

    sendGlobal("Tick");
    EXPECT_THAT(log, ElementsAre("remover", "removed"));
    log.clear();
    sendGlobal("Tick");
    EXPECT_THAT(log, ElementsAre("remover"));
}

TEST_F(MessagingTest, RegistrationAndPriorityChangeDuringDeliveryTakeEffectFromTheNextSend)
{
    Probe* late = listener("Tick", "late");
    bool registered = false;
    attach(system.createEntity(), "B", [&](Probe& self) {
        self.requestMessage("Tick", [&](Message&) {
            log.push_back("changer");
            if (registered)
                return;
            registered = true;
            listener("Tick", "newcomer");
            late->changeRequestPriority(idOf("Tick"), -1);
        });
    });

    sendGlobal("Tick");
    EXPECT_THAT(log, ElementsAre("changer", "late"));
    log.clear();
    sendGlobal("Tick");
    EXPECT_THAT(log, ElementsAre("late", "newcomer", "changer"));
}

TEST_F(MessagingTest, ComponentDestroyedDuringDeliveryIsNotCalledAgain)
{
    Probe* victim = listener("Tick", "victim");
    attach(system.createEntity(), "B", [&](Probe& self) {
        self.requestMessage("Tick", [&](Message&) {
            log.push_back("killer");
            system.destroyEntity(victim->getOwner());
            // Kept until the delivery is over.
            EXPECT_EQ(0, deletions);
        });
    });

    sendGlobal("Tick");
    EXPECT_THAT(log, ElementsAre("killer"));
    EXPECT_EQ(1, deletions);
}

TEST_F(MessagingTest, HandlerExceptionsPassThrough)
{
    Probe* thrower = attach(system.createEntity(), "A", [](Probe& self) {
        self.requestMessage("Tick", [](Message&) { throw std::runtime_error("boom"); });
    });
    EXPECT_THAT([&] { sendGlobal("Tick"); }, throwsError("boom"));
    // No delivery is left open: destruction deletes at once.
    system.destroyComponent(thrower);
    EXPECT_EQ(1, deletions);
}

TEST_F(MessagingTest, ComponentRequestCallsBackExistingComponents)
{
    const EntityId entity = system.createEntity();
    Probe* first = attach(entity, "A");
    Probe* second = attach(entity, "A");
    Probe* elsewhere = attach(system.createEntity(), "A");
    Probe* requester = attach(entity, "A", [&](Probe& self) {
        self.requestComponent("A", recordNotices(), true);
        EXPECT_THAT(notices, ElementsAre(std::make_pair(ComponentAdded, first), std::make_pair(ComponentAdded, second)));
    });
    // Then its own attachment is announced to the local requesters of its entity, itself among them.
    EXPECT_THAT(notices, ElementsAre(std::make_pair(ComponentAdded, first), std::make_pair(ComponentAdded, second),
                                     std::make_pair(ComponentAdded, requester)));

    notices.clear();
    attach(system.createEntity(), "B", [&](Probe& self) { self.requestComponent("A", recordNotices()); });
    EXPECT_THAT(notices, ElementsAre(std::make_pair(ComponentAdded, first), std::make_pair(ComponentAdded, second),
                                     std::make_pair(ComponentAdded, requester),
                                     std::make_pair(ComponentAdded, elsewhere)));
}

TEST_F(MessagingTest, AddedComponentIsAnnouncedGloballyThenLocally)
{
    const EntityId entity = system.createEntity();
    attach(entity, "B", [this](Probe& self) {
        self.requestComponent("A", [this](Message& message) {
            log.push_back(message.type == ComponentAdded ? "local" : "?");
        }, true);
    });
    attach(system.createEntity(), "C", [this](Probe& self) {
        self.requestComponent("A", [this](Message& message) {
            log.push_back("global");
            message.handled = true;  // does not stop a notification
        });
    });

    attach(entity, "A", [this](Probe& self) { self.requestComponent("A", logAs("itself")); });
    EXPECT_THAT(log, ElementsAre("global", "local"));
}

class Listener : public Component
{
public:
    Listener() : Component("Listener") {}

    void addedToEntity() override
    {
        requestMessage("Change", &Listener::change);
        requestMessage("Look", &Listener::look, true);
        requestComponent("A", &Listener::noteComponent, true);
    }

    void change(Message& message)
    {
        message.payload = std::string("changed");
        message.handled = true;
    }

    void look(const Message& message) { seen = boost::any_cast<int>(message.payload); }
    void noteComponent(const Message& message) { components.push_back(message.sender); }

    int seen = 0;
    std::vector<Component*> components;
};

TEST_F(MessagingTest, MemberFunctionHandlersAreBoundToTheirComponent)
{
    system.registerComponent("Listener", [] { return new Listener; });
    const EntityId entity = system.createEntity();
    Probe* existing = attach(entity, "A");
    auto listenerComponent = static_cast<Listener*>(system.createComponent("Listener"));
    system.addComponent(entity, listenerComponent);
    Probe* added = attach(entity, "A");

    EXPECT_THAT(listenerComponent->components, ElementsAre(existing, added));
    const Message answer = existing->sendGlobalQuestion("Change", 0);
    EXPECT_EQ(listenerComponent, answer.sender);
    EXPECT_EQ("changed", boost::any_cast<std::string>(answer.payload));
    existing->sendMessage("Look", 7);
    EXPECT_EQ(7, listenerComponent->seen);
}

TEST_F(MessagingTest, ErrorTexts)
{
    Component* unattached = system.createComponent("A");
    const Request fromUnattached{unattached, [](Message&) {}, false, 0};
    const std::string refusesRegistering = "Can't register a request from an invalid component";
    const std::string refusesRemoving = "Can't remove a request from an invalid component";
    // Each refused call names a request of its own, so one that made its id before refusing shows.
    const struct
    {
        const char* name;
        std::function<void(const RequestKey&)> call;
        const std::string& error;
    } refused[] = {
        {"Register", [&](const RequestKey& key) { system.registerGlobalRequest(key, fromUnattached); }, refusesRegistering},
        {"RegisterEmpty", [&](const RequestKey& key) { system.registerGlobalRequest(key, Request{}); }, refusesRegistering},
        {"RegisterLocal", [&](const RequestKey& key) { system.registerLocalRequest(key, fromUnattached); }, refusesRegistering},
        {"Remove", [&](const RequestKey& key) { system.removeGlobalRequest(key, fromUnattached); }, refusesRemoving},
        {"RemoveLocal", [&](const RequestKey& key) { system.removeLocalRequest(key, fromUnattached); }, refusesRemoving}};
    for (const auto& call : refused)
    {
        EXPECT_THAT([&] { call.call(RequestKey{MessageRequest, call.name}); }, throwsError(call.error)) << call.name;
        EXPECT_EQ(0u, system.findRequestId(MessageRequest, call.name)) << call.name;
    }
    Message message;
    EXPECT_THAT([&] { system.sendLocalMessage(0, idOf("Ping"), message); },
                throwsError("Can't send a message to a non-existant entity"));
    EXPECT_THAT([&] { system.sendLocalMessage(5, idOf("Ping"), message); },
                throwsError("Can't send a message to a non-existant entity"));
    EXPECT_THAT([&] { system.unfreezeRequest(idOf("Ping")); },
                throwsError("Tried to unfreeze a request that wasn't frozen!"));
    system.destroyComponent(unattached);
}

TEST_F(MessagingTest, FrozenRequestQueuesItsChangesInOrder)
{
    Probe* stays = listener("Tick", "stays");
    Probe* leaves = listener("Tick", "leaves");
    const RequestId tick = idOf("Tick");
    system.freezeRequest(tick);
    system.freezeRequest(tick);

    const EntityId entity = system.createEntity();
    attach(entity, "B", [this](Probe& self) {
        self.requestMessage("Tick", logAs("joins"));
        self.requestMessage("Tick", logAs("joins locally"), true);
    });
    Probe* joinsAndLeaves = listener("Tick", "joins and leaves");
    joinsAndLeaves->unrequestMessage("Tick");
    leaves->unrequestMessage("Tick");
    stays->changeRequestPriority(tick, -1);
    sendGlobal("Tick");
    Message message;
    system.sendLocalMessage(entity, tick, message);
    EXPECT_THAT(log, ElementsAre("leaves", "stays"));

    log.clear();
    system.unfreezeRequest(tick);
    EXPECT_THAT([&] { system.unfreezeRequest(tick); }, throwsError("Tried to unfreeze a request that wasn't frozen!"));
    sendGlobal("Tick");
    system.sendLocalMessage(entity, tick, message);
    EXPECT_THAT(log, ElementsAre("stays", "joins", "joins locally"));
}

TEST_F(MessagingTest, FreezingDefersDestructionUntilTheLastUnfreeze)
{
    const EntityId entity = system.createEntity();
    Probe* component = attach(entity, "A");
    const EntityId doomed = system.createEntity();
    attach(doomed, "B");
    system.freezeRequest(idOf("One"));
    system.freezeRequest(idOf("Two"));

    system.destroyComponent(component);
    system.destroyComponent(component);
    system.destroyEntity(doomed);
    EXPECT_TRUE(component->isDestroyed());
    EXPECT_THAT(system.getAllComponentsOnEntity(entity, ""), ElementsAre(component));
    EXPECT_TRUE(system.hasEntity(doomed));

    system.unfreezeRequest(idOf("One"));
    EXPECT_EQ(0, deletions);
    system.unfreezeRequest(idOf("Two"));
    EXPECT_EQ(2, deletions);
    EXPECT_THAT(system.getAllComponentsOnEntity(entity, ""), IsEmpty());
    EXPECT_FALSE(system.hasEntity(doomed));
    EXPECT_EQ(0u, system.getComponentCount());
}

} // namespace
