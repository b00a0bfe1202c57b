// Feeds arbitrary bytes to everything of the client that reads network data: the cutting of
// the received stream into packets and the Core, PlayerStream and Chat handlers, which act on a
// real entity system through the engine's registry.
//
// Each input is used twice:
// 1. as a received byte stream, cut into packets as the read thread does, each one dispatched;
// 2. as a list of records [channel][payload length][payload], dispatched without checksums,
//    so that mutations reach the handlers.

#include "fuzz/Invariant.hpp"
#include "ecs/Component.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/Client.hpp"
#include "network/ReadThread.hpp"
#include "network/WordFilter.hpp"
#include "network/channels/Chat.hpp"
#include "network/channels/Core.hpp"
#include "network/channels/PlayerStream.hpp"
#include "plym/core/Vector3.hpp"
#include "plym/game/Engine.hpp"

#include <boost/any.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <tuple>
#include <vector>

namespace
{

using QEL::Network::Client;
using QEL::Network::Packet;

using QEL::Fuzzing::requireInvariant;

/// Text decoded from the network never holds surrogates or code points beyond Unicode.
void checkText(const sf::String& text)
{
    for (sf::Uint32 c : text)
        requireInvariant(c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF), "decoded text holds an invalid code point");
}

void checkFinite(const boost::any& payload)
{
    const auto& v = boost::any_cast<const Plym::Math::Vector3&>(payload);
    requireInvariant(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z), "a non-finite vector reached a figure");
}

/// The figure of a remote player, as the template "QEL.Man" builds it here: checks what it is sent.
class FigureProbe : public Tessaly::Component
{
public:
    FigureProbe() : Component("Fuzz.Figure") {}

    void addedToEntity() override
    {
        requestMessage("Man.SetName", &FigureProbe::onName, true);
        requestMessage("SetPosition", &FigureProbe::onVector, true);
        requestMessage("SetSpeed", &FigureProbe::onVector, true);
        requestMessage("#REKT", &FigureProbe::onEntityMessage, true);
    }

private:
    void onName(const Tessaly::Message& message)
    {
        checkText(std::get<1>(boost::any_cast<const std::tuple<unsigned int, sf::String>&>(message.payload)));
    }

    void onVector(const Tessaly::Message& message) { checkFinite(message.payload); }

    void onEntityMessage(const Tessaly::Message& message) { requireInvariant(boost::any_cast<int>(message.payload) == 0, "entity message payload"); }
};

/// Listens to the chat like the heads-up display and runs each line through the word filter.
class ChatProbe : public Tessaly::Component
{
public:
    ChatProbe() : Component("Fuzz.Chat") {}

    void addedToEntity() override { requestMessage("QEL.Chat.Message", &ChatProbe::onLine); }

private:
    void onLine(const Tessaly::Message& message)
    {
        sf::String text = std::get<1>(boost::any_cast<const std::tuple<unsigned int, sf::String>&>(message.payload));
        checkText(text);
        QEL::Network::filterText(text);
    }
};

/// One entity system, engine and (never connected) client for the whole run.
struct World
{
    World() : engine(system, 0), client(QEL::Network::Endpoint(sf::IpAddress::LocalHost, 1))
    {
        engine.addService(system);
        engine.addService(client);
        system.registerComponent("Fuzz.Figure", [] { return new FigureProbe; });
        system.registerComponent("Fuzz.Chat", [] { return new ChatProbe; });
        system.registerTemplate("QEL.Man", {"Fuzz.Figure"});
        // A few figures with small ids for entity messages to find, and a chat listener.
        for (int i = 0; i < 4; ++i)
            system.instantiate("QEL.Man");
        const Tessaly::EntityId chat = system.createEntity();
        system.addComponent(chat, system.createComponent("Fuzz.Chat"));
        firstPassing = system.getNextEntityId();
    }

    /// The channels a joined client has: Core on 0, the player stream on 1, the chat on 2.
    void openChannels()
    {
        client.setChannelHandler(0, std::make_unique<QEL::Network::Channels::Core>(client));
        client.setChannelHandler(1, std::make_unique<QEL::Network::Channels::PlayerStream>(client.getConsole()));
        client.setChannelHandler(2, std::make_unique<QEL::Network::Channels::Chat>());
    }

    /// Forgets the channels and destroys the entities that one input created.
    void reset()
    {
        client.disconnect();
        for (Tessaly::EntityId id = firstPassing; id < system.getNextEntityId(); ++id)
            if (system.hasEntity(id))
                system.destroyEntity(id);
        firstPassing = system.getNextEntityId();
    }

    Tessaly::EntitySystem system;
    Plym::Engine engine;
    Client client;
    Tessaly::EntityId firstPassing;
};

World& getWorld()
{
    static World* world = new World;
    return *world;
}

void replayStream(World& world, const std::uint8_t* data, std::size_t size)
{
    std::string accumulator(reinterpret_cast<const char*>(data), size);
    std::deque<Packet> packets;
    const std::vector<std::uint8_t> dropped = QEL::Network::ReadThread::cutPackets(accumulator, packets);

    std::size_t cut = 0;
    for (const Packet& packet : packets)
        cut += packet.getWireSize();
    Packet rest;
    requireInvariant(Packet::extract(accumulator, rest) == Packet::Extraction::Incomplete, "cutting stopped before an incomplete packet");
    requireInvariant(cut + accumulator.size() <= size && (dropped.empty() || cut + accumulator.size() < size),
          "cut bytes do not add up");

    for (Packet& packet : packets)
        world.client.dispatch(packet);
}

void replayRecords(World& world, const std::uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    while (at + 2 <= size)
    {
        Packet packet;
        packet.setChannel(data[at]);
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        for (std::size_t i = 0; i < length; ++i)
            packet.writeU8(data[at + 2 + i]);
        at += 2 + length;

        // What a packet serializes to is cut back out unchanged.
        packet.computeChecksum();
        const std::string wire = packet.serialize();
        Packet copy;
        requireInvariant(Packet::extract(wire, copy) == Packet::Extraction::Complete && copy.getPayload() == packet.getPayload() &&
                  copy.getChannel() == packet.getChannel(),
              "serialize and extract disagree");

        world.client.dispatch(packet);
    }
}

void runOne(const std::uint8_t* data, std::size_t size)
{
    World& world = getWorld();
    world.openChannels();
    replayStream(world, data, size);
    world.reset();
    world.openChannels();
    replayRecords(world, data, size);
    world.reset();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The handlers' console lines would slow the fuzzer down to a crawl.
    if (!std::freopen("/dev/null", "w", stdout))
        std::perror("stdout");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    runOne(data, size);
    return 0;
}
