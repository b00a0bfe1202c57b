#include "network/channels/Chat.hpp"
#include "network/channels/Core.hpp"
#include "network/channels/PlayerStream.hpp"
#include "tests/network/NetworkTest.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace QEL::Network;
using Plym::Math::Vector3;

namespace
{

Packet openChannel(int id, int type, int flag)
{
    return makePacket(0, bytes({2, 16, 0, id, type, flag}));
}

Packet entityMessage(std::uint32_t entity, const std::string& name)
{
    Packet packet;
    packet.writeU8(2).writeU16(0xBEEF).writeU32(entity).writeStr8(name);
    return packet;
}

Packet playerRecord(int kind, std::uint32_t playerId)
{
    Packet packet;
    packet.setChannel(1);
    packet.writeU8(static_cast<std::uint8_t>(kind)).writeU32(playerId);
    return packet;
}

void writeVector(Packet& packet, const Vector3& v)
{
    packet.writeF32(v.x).writeF32(v.y).writeF32(v.z);
}

Packet playerInfo(std::uint32_t playerId, const std::string& utf8Name, const Vector3& position, int joined)
{
    Packet packet = playerRecord(0, playerId);
    packet.writeStr8(utf8Name);
    writeVector(packet, position);
    packet.writeU8(static_cast<std::uint8_t>(joined));
    return packet;
}

Packet playerMove(std::uint32_t playerId, const Vector3& position, const Vector3& speed)
{
    Packet packet = playerRecord(2, playerId);
    writeVector(packet, position);
    writeVector(packet, speed);
    return packet;
}

Packet chatRecord(std::uint8_t channel, std::uint32_t sender, const std::string& utf8)
{
    Packet packet;
    packet.setChannel(channel);
    packet.writeU32(sender).writeStr16(utf8);
    return packet;
}

sf::String fromUtf8(const std::string& utf8)
{
    return sf::String::fromUtf8(utf8.begin(), utf8.end());
}

const float NaN = std::numeric_limits<float>::quiet_NaN();
const float Infinity = std::numeric_limits<float>::infinity();

} // namespace

/// A connected client whose server has opened the player stream on 1 and the chat on 2.
class ChannelsTest : public NetworkTest
{
protected:
    void SetUp() override
    {
        connectClient();
        deliverCapturing({openChannel(1, 255, 0), openChannel(2, 3, 0)});
        mLog = dynamic_cast<ChatLog*>(mSystem.createComponent("Test.ChatLog"));
        mSystem.addComponent(mSystem.createEntity(), mLog);
    }

    Channels::PlayerStream& stream()
    {
        return dynamic_cast<Channels::PlayerStream&>(*mClient.getChannelHandler(1));
    }

    ManProbe* probeOf(std::uint32_t playerId)
    {
        return findProbe(mSystem, stream().getPlayerEntity(playerId));
    }

    ChatLog* mLog = nullptr;
};

TEST_F(NetworkTest, OpenChannelAnnouncesAndInstallsByType)
{
    connectClient();
    const std::string console =
        deliverCapturing({openChannel(2, 3, 0), openChannel(1, 255, 0), openChannel(5, 7, 0), openChannel(6, 3, 1)});
    EXPECT_EQ(console,
              "Registering new channel 2 (3) with cipher 0\n"
              "Registering new channel 1 (255) with cipher 0\n"
              "Registering new channel 5 (7) with cipher 0\n");
    EXPECT_NE(dynamic_cast<Channels::Chat*>(mClient.getChannelHandler(2)), nullptr);
    EXPECT_NE(dynamic_cast<Channels::PlayerStream*>(mClient.getChannelHandler(1)), nullptr);
    EXPECT_EQ(mClient.getChannelHandler(5), nullptr);
    EXPECT_EQ(mClient.getChannelHandler(6), nullptr);
}

TEST_F(ChannelsTest, ReopeningChannelZeroReplacesTheCoreHandler)
{
    EXPECT_EQ(deliverCapturing({openChannel(0, 3, 0)}), "Registering new channel 0 (3) with cipher 0\n");
    ASSERT_NE(dynamic_cast<Channels::Chat*>(mClient.getChannelHandler(0)), nullptr);

    // A join reply now reads as a chat line from sender 0x101.
    deliver({makePacket(0, bytes({1, 1, 0, 0, 2, 0, 'h', 'i'}))});
    EXPECT_EQ(mClient.getState(), Connecting);
    ASSERT_EQ(mLog->lines.size(), 1u);
    EXPECT_EQ(mLog->lines[0].first, 0x101u);
    EXPECT_EQ(mLog->lines[0].second, sf::String("hi"));
}

TEST_F(ChannelsTest, ARefusedJoinFailsAndSaysWhyOnce)
{
    const std::vector<std::pair<int, std::string>> refusals = {
        {1, "Join refused: the name is not valid"},
        {2, "Join refused: the name is already taken"},
        {3, "Join refused: the server is full"},
        {7, "Join refused for an unknown reason (code 7)"},
        {255, "Join refused for an unknown reason (code 255)"},
    };
    for (const auto& [result, reason] : refusals)
    {
        mClient.setState(Connecting);
        mLog->notices.clear();
        const Packet reply = makePacket(0, bytes({1, 1, 0, result}));
        EXPECT_EQ(deliverCapturing({reply, reply}), reason + "\n");
        EXPECT_EQ(mClient.getState(), Failed);
        EXPECT_EQ(mLog->notices, std::vector<sf::String>{sf::String(reason)});
    }
    EXPECT_TRUE(mLog->lines.empty());
}

TEST_F(ChannelsTest, EntityMessagesReachTheNamedEntityOnly)
{
    const Tessaly::EntityId tree = mSystem.instantiate("QEL.Man");
    const Tessaly::EntityId other = mSystem.instantiate("QEL.Man");
    deliver({entityMessage(tree, "#REKT")});
    EXPECT_EQ(findProbe(mSystem, tree)->rektPayloads, std::vector<int>{0});
    EXPECT_TRUE(findProbe(mSystem, other)->received.empty());

    const std::string console = deliverCapturing({entityMessage(9999, "#REKT"), entityMessage(tree, "#REKT")});
    EXPECT_EQ(console, "Dropped a packet on channel 0: Can't send a message to a non-existant entity\n");
    EXPECT_EQ(findProbe(mSystem, tree)->rektPayloads.size(), 2u);

    // A name nobody asked for reaches no one and leaves no trace in the entity system.
    EXPECT_EQ(deliverCapturing({entityMessage(tree, "made up by the network")}), "");
    EXPECT_EQ(mSystem.findRequestId(Tessaly::MessageRequest, "made up by the network"), 0u);
}

TEST_F(ChannelsTest, PlayerInfoBuildsANamedFigure)
{
    const std::string console =
        deliverCapturing({playerInfo(7, "Bob", Vector3(100, 200, 0), 1), playerInfo(8, "Eve", Vector3(1, 2, 3), 0)});
    EXPECT_EQ(console, "Player 'Bob' joined!\nRecieved info for existing player 'Eve'.\n");

    ManProbe* bob = probeOf(7);
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->received, (std::vector<std::string>{"Man.SetName", "SetPosition"}));
    EXPECT_EQ(bob->playerId, 7u);
    EXPECT_EQ(bob->name, sf::String("Bob"));
    EXPECT_EQ(bob->positions, std::vector<Vector3>{Vector3(100, 200, 0)});
    ASSERT_NE(probeOf(8), nullptr);
    EXPECT_NE(stream().getPlayerEntity(7), stream().getPlayerEntity(8));
}

// A hostile server announcing players without end, and their quits, gets a bounded crowd and a
// few console lines of each kind; a place freed by a quit is taken again.
TEST_F(ChannelsTest, EndlessPlayerAnnouncementsAreCappedAndSayAFewLines)
{
    using Channels::PlayerStream;
    const auto lines = [](const std::string& console) { return std::count(console.begin(), console.end(), '\n'); };
    constexpr std::uint32_t Crowd = PlayerStream::MaxPlayers + 100;
    std::vector<Packet> announcements;
    for (std::uint32_t id = 1; id <= Crowd; ++id)
        announcements.push_back(playerInfo(id, "p" + std::to_string(id), Vector3(), id % 2));
    const std::string console = deliverCapturing(announcements);
    EXPECT_LE(lines(console), 3 * static_cast<long>(ConsoleLog::LinesPerKind)) << "joined, existing and ignored";
    EXPECT_NE(console.find("Ignored player 'p2049': 2048 players are shown already\n"), std::string::npos);
    EXPECT_NE(stream().getPlayerEntity(PlayerStream::MaxPlayers), 0u);
    EXPECT_EQ(stream().getPlayerEntity(PlayerStream::MaxPlayers + 1), 0u);
    // A known player announced again keeps its place.
    deliverCapturing({playerInfo(5, "p5", Vector3(), 0)});
    EXPECT_NE(stream().getPlayerEntity(5), 0u);

    std::vector<Packet> quits;
    for (std::uint32_t id = Crowd; id > 0; --id)
        quits.push_back(playerRecord(1, id));
    EXPECT_LE(lines(deliverCapturing(quits)), static_cast<long>(ConsoleLog::LinesPerKind));
    EXPECT_EQ(stream().getPlayerEntity(1), 0u);
    deliverCapturing({playerInfo(Crowd, "late", Vector3(), 1)});
    EXPECT_NE(stream().getPlayerEntity(Crowd), 0u);
}

TEST_F(ChannelsTest, NamesKeepTheirUnicode)
{
    EXPECT_EQ(deliverCapturing({playerInfo(7, "Zo\xC3\xAB", Vector3(), 1)}), "Player 'Zo\xC3\xAB' joined!\n");
    EXPECT_EQ(probeOf(7)->name, fromUtf8("Zo\xC3\xAB"));

    Packet broken = playerRecord(0, 8);
    broken.writeU8(2).writeU8('A').writeU8(0xFF);
    writeVector(broken, Vector3());
    broken.writeU8(1);
    EXPECT_EQ(deliverCapturing({broken}), "Player 'A\xEF\xBF\xBD' joined!\n");
    EXPECT_EQ(probeOf(8)->name, fromUtf8("A\xEF\xBF\xBD"));
}

TEST_F(ChannelsTest, ControlCharactersInNamesAndChatLinesArriveReplaced)
{
    EXPECT_EQ(deliverCapturing({playerInfo(7, "Eve\x1b[2J\nbob", Vector3(), 1)}),
              "Player 'Eve\xEF\xBF\xBD[2J\xEF\xBF\xBD" "bob' joined!\n");
    EXPECT_EQ(probeOf(7)->name, fromUtf8("Eve\xEF\xBF\xBD[2J\xEF\xBF\xBD" "bob"));

    deliver({chatRecord(2, 7, "hi\nbob: give me your axe\x1b[2J\xE2\x80\xAE")});
    ASSERT_EQ(mLog->lines.size(), 1u);
    EXPECT_EQ(mLog->lines[0].second, fromUtf8("hi\xEF\xBF\xBD" "bob: give me your axe\xEF\xBF\xBD[2J\xEF\xBF\xBD"));
}

TEST_F(ChannelsTest, PlayerMovesArriveAsPositionThenSpeed)
{
    deliver({playerInfo(7, "Bob", Vector3(0, 0, 0), 1)});
    const Packet first = playerMove(7, Vector3(1, 2, 3), Vector3(4, 5, 6));
    EXPECT_EQ(first.getLength(), 29u);
    deliver({first, playerMove(7, Vector3(7, 8, 9), Vector3(-1, 0, 0))});

    ManProbe* bob = probeOf(7);
    EXPECT_EQ(bob->received, (std::vector<std::string>{"Man.SetName", "SetPosition", "SetPosition", "SetSpeed",
                                                        "SetPosition", "SetSpeed"}));
    EXPECT_EQ(bob->positions, (std::vector<Vector3>{Vector3(0, 0, 0), Vector3(1, 2, 3), Vector3(7, 8, 9)}));
    EXPECT_EQ(bob->speeds, (std::vector<Vector3>{Vector3(4, 5, 6), Vector3(-1, 0, 0)}));
}

TEST_F(ChannelsTest, PlayerQuitDestroysTheFigure)
{
    deliver({playerInfo(7, "Bob", Vector3(), 1)});
    const Tessaly::EntityId bob = stream().getPlayerEntity(7);
    ASSERT_TRUE(mSystem.hasEntity(bob));
    EXPECT_EQ(deliverCapturing({playerRecord(1, 7)}), "Player id 7 quit\n");
    EXPECT_FALSE(mSystem.hasEntity(bob));
    EXPECT_EQ(stream().getPlayerEntity(7), 0u);
}

TEST_F(ChannelsTest, TheChatBoxTellsWhoJoinsAndWhoLeaves)
{
    // Eve was there before us: she neither joins nor is unknown when she leaves.
    deliver({playerInfo(7, "Bob", Vector3(), 1), playerInfo(8, "Eve", Vector3(), 0), playerRecord(1, 9),
             playerRecord(1, 8), playerRecord(1, 7), playerRecord(1, 7)});
    EXPECT_EQ(mLog->notices, (std::vector<sf::String>{"Bob joined", "Eve left", "Bob left"}));
}

TEST_F(ChannelsTest, UnknownPlayerIdsAreIgnored)
{
    deliver({playerInfo(7, "Bob", Vector3(), 1)});
    const std::uint32_t entities = mSystem.getEntityCount();
    const std::string console =
        deliverCapturing({playerMove(4000000000u, Vector3(1, 1, 1), Vector3()), playerRecord(1, 4000000000u)});
    EXPECT_EQ(console, "Player id 4000000000 quit\n");
    EXPECT_EQ(mSystem.getEntityCount(), entities);
    EXPECT_EQ(probeOf(7)->received.size(), 2u);
}

TEST_F(ChannelsTest, ARepeatedPlayerInfoReplacesTheFigure)
{
    deliver({playerInfo(7, "Bob", Vector3(), 1)});
    const Tessaly::EntityId first = stream().getPlayerEntity(7);
    const std::uint32_t entities = mSystem.getEntityCount();
    deliver({playerInfo(7, "Bobby", Vector3(5, 5, 0), 0)});
    EXPECT_FALSE(mSystem.hasEntity(first));
    EXPECT_EQ(mSystem.getEntityCount(), entities);
    EXPECT_EQ(probeOf(7)->name, sf::String("Bobby"));
}

TEST_F(ChannelsTest, NonFiniteVectorsAreIgnored)
{
    deliver({playerInfo(7, "Bob", Vector3(NaN, 0, 0), 1)});
    ManProbe* bob = probeOf(7);
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->received, std::vector<std::string>{"Man.SetName"});

    deliver({playerMove(7, Vector3(0, Infinity, 0), Vector3(1, 0, 0)), playerMove(7, Vector3(2, 0, 0), Vector3(0, 0, -Infinity))});
    EXPECT_EQ(bob->received, (std::vector<std::string>{"Man.SetName", "SetSpeed", "SetPosition"}));
    EXPECT_EQ(bob->positions, std::vector<Vector3>{Vector3(2, 0, 0)});
    EXPECT_EQ(bob->speeds, std::vector<Vector3>{Vector3(1, 0, 0)});
}

TEST_F(ChannelsTest, AFigureThatCannotBeBuiltIsNotTracked)
{
    mSystem.registerTemplate("QEL.Man", {"Test.ManProbe", "Test.Picky"});
    const std::uint32_t entities = mSystem.getEntityCount();
    EXPECT_EQ(deliverCapturing({playerInfo(7, "Bob", Vector3(), 1)}), "Player 'Bob' joined!\nFailed to join player...\n");
    EXPECT_EQ(stream().getPlayerEntity(7), 0u);
    EXPECT_EQ(mSystem.getEntityCount(), entities);
    EXPECT_EQ(deliverCapturing({playerMove(7, Vector3(), Vector3())}), "");
}

TEST_F(ChannelsTest, ChatLinesArePostedUnfilteredWithTheirUnicode)
{
    deliver({chatRecord(2, 7, "Hello shit"), chatRecord(2, 8, "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x99\x82")});
    ASSERT_EQ(mLog->lines.size(), 2u);
    EXPECT_EQ(mLog->lines[0].first, 7u);
    EXPECT_EQ(mLog->lines[0].second, sf::String("Hello shit"));
    EXPECT_EQ(mLog->lines[1].first, 8u);
    EXPECT_EQ(mLog->lines[1].second, fromUtf8("Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x99\x82"));
}

TEST_F(ChannelsTest, ATypedLineIsSentOnceAndShownAtOnce)
{
    EXPECT_TRUE(Channels::Chat::sendLine(fromUtf8("hi \xC3\xA9")));
    ASSERT_EQ(mLog->lines.size(), 1u);
    EXPECT_EQ(mLog->lines[0].first, 0u);
    EXPECT_EQ(mLog->lines[0].second, fromUtf8("hi \xC3\xA9"));

    EXPECT_FALSE(Channels::Chat::sendLine(sf::String()));
    EXPECT_EQ(mLog->lines.size(), 1u);

    mClient.send(makePacket(5, "end"));
    const Packet line = nextFromClient();
    EXPECT_EQ(line.getChannel(), 2);
    EXPECT_EQ(line.getPayload(), bytes({5, 0}) + "hi \xC3\xA9");
    EXPECT_EQ(nextFromClient().getPayload(), "end");
}

TEST_F(ChannelsTest, ShortRecordsAreDroppedOnEveryChannel)
{
    const std::vector<Packet> shortRecords = {
        makePacket(0, ""),
        makePacket(0, bytes({1, 1})),
        makePacket(0, bytes({1, 1, 0})),
        makePacket(0, bytes({2, 16, 0, 5, 3})),
        makePacket(0, bytes({2, 17, 0})),
        makePacket(0, bytes({2, 0xEF, 0xBE, 1, 0, 0})),
        makePacket(0, bytes({2, 0xEF, 0xBE, 1, 0, 0, 0, 5, 'a', 'b'})),
        makePacket(1, bytes({0, 7, 0, 0})),
        makePacket(1, bytes({0, 7, 0, 0, 0, 3, 'B', 'o', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
        makePacket(1, bytes({2, 7, 0, 0, 0}) + std::string(23, '\0')),
        makePacket(1, bytes({1, 7, 0})),
        makePacket(2, bytes({7, 0, 0})),
        makePacket(2, bytes({7, 0, 0, 0, 5, 0, 'a', 'b', 'c'})),
    };
    const std::uint32_t entities = mSystem.getEntityCount();
    for (const Packet& record : shortRecords)
    {
        const std::string expected =
            "Dropped a packet on channel " + std::to_string(record.getChannel()) + ": Packet reading failed!\n";
        EXPECT_EQ(deliverCapturing({record}), expected) << "payload of " << record.getLength() << " bytes";
    }
    EXPECT_EQ(mClient.getState(), Connecting);
    EXPECT_EQ(mSystem.getEntityCount(), entities);
    EXPECT_TRUE(mLog->lines.empty());
    EXPECT_NE(mClient.getChannelHandler(1), nullptr);
    EXPECT_EQ(mClient.getChannelHandler(5), nullptr);
}

// The server lets a client that lost its connection in again and tells it about everybody anew:
// the figures of the lost connection stay where they were until then, and go before the new ones come.
TEST_F(ChannelsTest, ARejoinReplacesThePlayersOfTheLostConnection)
{
    const Packet accepted = makePacket(0, bytes({1, 1, 0, 0}));
    const Vector3 spawn(11520.f, 11520.f, 0.f);
    deliverCapturing({accepted, playerInfo(7, "bot-1", spawn, 0), playerInfo(8, "bot-2", spawn, 0)});
    ASSERT_EQ(findAllProbes(mSystem).size(), 2u);

    mPeer.drop();
    ASSERT_TRUE(pumpUntil([&] { return mClient.isRetryScheduled(); }));
    EXPECT_EQ(findAllProbes(mSystem).size(), 2u) << "the players stand where they were last seen";

    reconnectClient();
    const std::string console = deliverCapturing(
        {accepted, openChannel(1, 255, 0), playerInfo(9, "bot-1", spawn, 0), playerInfo(10, "bot-2", spawn, 0)});
    EXPECT_EQ(console.find("Removed 2 players of the lost connection\n"), 0u) << console;
    const std::vector<ManProbe*> probes = findAllProbes(mSystem);
    ASSERT_EQ(probes.size(), 2u);
    EXPECT_EQ(probes[0]->name, sf::String("bot-1"));
    EXPECT_EQ(probes[1]->name, sf::String("bot-2"));

    const std::string peer = mClient.getServer().address.toString() + ":" + std::to_string(mClient.getServer().port);
    EXPECT_EQ(mLog->notices, (std::vector<sf::String>{"Joined " + peer, "Connection lost", "Trying to connect again in 2 seconds", "Joined " + peer}));
}

// A server that shows players on every connection but never lets us in cannot pile up figures.
TEST_F(ChannelsTest, ConnectionsThatNeverJoinLeaveOnlyTheLastOnesPlayers)
{
    const Vector3 spawn(11520.f, 11520.f, 0.f);
    deliverCapturing({playerInfo(7, "ghost-1", spawn, 0), playerInfo(8, "ghost-2", spawn, 0)});
    mPeer.drop();
    ASSERT_TRUE(pumpUntil([&] { return mClient.isRetryScheduled(); }));

    reconnectClient();
    deliverCapturing({openChannel(1, 255, 0), playerInfo(9, "ghost-3", spawn, 0)});
    mPeer.drop();
    ASSERT_TRUE(pumpUntil([&] { return mClient.isRetryScheduled(); }));
    const std::vector<ManProbe*> probes = findAllProbes(mSystem);
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(probes[0]->name, sf::String("ghost-3"));
}
