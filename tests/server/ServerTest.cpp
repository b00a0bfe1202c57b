#include "tests/server/ServerFixture.hpp"

#include "server/World.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <memory>
#include <vector>

using QEL::Hosting::ServerOptions;
using QEL::Hosting::World;
using QEL::Network::Packet;
using QEL::Testing::Received;
using QEL::Testing::ServerHarness;
using QEL::Testing::TestClient;
using Plym::Math::Vector3;

namespace
{

using ServerTest = QEL::Testing::ServerFixture;

Vector3 alongX(float x)
{
    return Vector3(x, 0.f, 0.f);
}

} // namespace

TEST_F(ServerTest, WelcomesPlayersAndIntroducesThemToEachOther)
{
    start();
    auto ysolde = connect();
    ysolde->sendJoin("Ysolde");
    auto reply = ysolde->next();
    ASSERT_TRUE(reply && reply->isJoinReply());
    EXPECT_EQ(reply->byte, 0);
    EXPECT_TRUE(reply->exact);
    auto stream = ysolde->next();
    ASSERT_TRUE(stream && stream->isOpenChannel());
    EXPECT_EQ(stream->openedId, 1);
    EXPECT_EQ(stream->openedType, 255);
    EXPECT_EQ(stream->openedFlag, 0);
    auto chat = ysolde->next();
    ASSERT_TRUE(chat && chat->isOpenChannel());
    EXPECT_EQ(chat->openedId, 2);
    EXPECT_EQ(chat->openedType, 3);
    EXPECT_EQ(chat->openedFlag, 0);

    auto tamsin = joined("Tamsin");
    const auto existing = tamsin->next();
    ASSERT_TRUE(existing && existing->isPlayerInfo());
    EXPECT_EQ(existing->text, "Ysolde");
    EXPECT_EQ(existing->byte, 0);
    EXPECT_EQ(existing->position, World::SpawnPosition);
    EXPECT_TRUE(existing->exact);

    // The first thing Ysolde hears after her welcome is the newcomer: never herself.
    const auto newcomer = ysolde->next();
    ASSERT_TRUE(newcomer && newcomer->isPlayerInfo());
    EXPECT_EQ(newcomer->text, "Tamsin");
    EXPECT_EQ(newcomer->byte, 1);
    EXPECT_EQ(newcomer->position, World::SpawnPosition);
    EXPECT_NE(newcomer->id, existing->id);
    EXPECT_NE(newcomer->id, 0u);
}

TEST_F(ServerTest, RelaysWhatAPlayerDoesToEveryoneElseOnly)
{
    start();
    auto actor = joined("actor");
    auto first = joined("first");
    auto second = joined("second");
    const std::uint32_t actorId = idOf(*first, "actor");
    const std::uint32_t firstId = idOf(*actor, "first");
    idOf(*actor, "second");
    idOf(*second, "actor");

    const Vector3 position(11600.f, 11480.5f, -5.f);
    const Vector3 speed(270.f, -12.25f, 0.f);
    actor->sendMove(position, speed);
    actor->sendChat("Hello, \xC3\xA9veryone");
    actor->sendEntityMessage(4711, "#REKT");

    for (TestClient* other : {first.get(), second.get()})
    {
        const auto move = other->waitFor([](const Received& r) { return r.isPlayerMove(); });
        ASSERT_TRUE(move);
        EXPECT_EQ(move->id, actorId);
        EXPECT_EQ(move->position, position);
        EXPECT_EQ(move->speed, speed);
        EXPECT_TRUE(move->exact);
        const auto line = other->next();
        ASSERT_TRUE(line && line->isChat());
        EXPECT_EQ(line->id, actorId);
        EXPECT_EQ(line->text, "Hello, \xC3\xA9veryone");
        EXPECT_TRUE(line->exact);
        const auto event = other->next();
        ASSERT_TRUE(event && event->isEntityMessage());
        EXPECT_EQ(event->id, 4711u);
        EXPECT_EQ(event->text, "#REKT");
        EXPECT_TRUE(event->exact);
    }

    // The marker is sent only after the actor's records were relayed, so any echo would come first.
    first->sendChat("marker");
    for (const Received& record : readUntilChat(*actor, "marker"))
    {
        EXPECT_FALSE(record.isPlayerMove());
        EXPECT_FALSE(record.isEntityMessage());
        if (record.isChat())
        {
            EXPECT_EQ(record.id, firstId);
        }
    }
}

TEST_F(ServerTest, LateJoinersLearnPositionsAndEachWorldEventOnce)
{
    start();
    auto feller = joined("feller");
    auto watcher = joined("watcher");
    const std::uint32_t fellerId = idOf(*watcher, "feller");
    const Vector3 position(11000.f, 12000.f, 0.f);
    feller->sendMove(position, Vector3());
    feller->sendEntityMessage(5, "#REKT");
    feller->sendEntityMessage(5, "#REKT");
    feller->sendEntityMessage(5, "#branch");
    feller->sendEntityMessage(9, "Rosebud");
    ASSERT_TRUE(watcher->waitFor([](const Received& r) { return r.isEntityMessage() && r.text == "Rosebud"; }));

    auto late = joined("late");
    std::vector<Received> infos;
    std::vector<Received> events;
    idOf(*watcher, "late");
    watcher->sendChat("done");
    for (const Received& record : readUntilChat(*late, "done"))
    {
        if (record.isPlayerInfo())
            infos.push_back(record);
        if (record.isEntityMessage())
            events.push_back(record);
    }
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[0].id, fellerId);
    EXPECT_EQ(infos[0].position, position);
    EXPECT_EQ(infos[0].byte, 0);
    EXPECT_EQ(infos[1].text, "watcher");

    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].id, 5u);
    EXPECT_EQ(events[0].text, "#REKT");
    EXPECT_EQ(events[1].id, 5u);
    EXPECT_EQ(events[1].text, "#branch");
    EXPECT_EQ(events[2].id, 9u);
    EXPECT_EQ(events[2].text, "Rosebud");
}

TEST_F(ServerTest, AnnouncesPlayersWhoLeaveOrVanish)
{
    start();
    auto leaver = joined("leaver");
    auto vanisher = joined("vanisher");
    auto stayer = joined("stayer");
    const std::uint32_t leaverId = idOf(*stayer, "leaver");
    const std::uint32_t vanisherId = idOf(*stayer, "vanisher");

    leaver->sendLeave();
    auto quit = stayer->waitFor([](const Received& r) { return r.isPlayerQuit(); });
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, leaverId);
    EXPECT_TRUE(quit->exact);
    EXPECT_TRUE(leaver->waitClosed());

    vanisher->close();
    quit = stayer->waitFor([](const Received& r) { return r.isPlayerQuit(); });
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, vanisherId);

    // The name is free again, and the newcomer does not meet the departed.
    auto returning = joined("leaver");
    returning->sendChat("back");
    const auto records = readUntilChat(*stayer, "back");
    ASSERT_FALSE(records.empty());
    EXPECT_TRUE(records.front().isPlayerInfo());
    EXPECT_NE(records.front().id, leaverId);
    stayer->sendChat("welcome");
    for (const Received& record : readUntilChat(*returning, "welcome"))
    {
        if (record.isPlayerInfo())
        {
            EXPECT_EQ(record.text, "stayer");
        }
    }
}

TEST_F(ServerTest, DropsSilentClients)
{
    ServerOptions options = ServerHarness::testOptions();
    options.idleTimeout = std::chrono::milliseconds(1000);
    start(options);
    auto silent = joined("silent");
    auto talker = connect();
    ASSERT_TRUE(talker->join("talker"));
    const std::uint32_t silentId = idOf(*talker, "silent");

    const auto quit = talker->waitFor([](const Received& r) { return r.isPlayerQuit(); }, TestClient::Patience, true);
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, silentId);
    EXPECT_TRUE(silent->waitClosed());

    // The keep-alives kept the talker in: it still hears of newcomers.
    auto newcomer = joined("newcomer");
    EXPECT_TRUE(talker->waitFor([](const Received& r) { return r.isPlayerInfo() && r.text == "newcomer"; },
                                TestClient::Patience, true));
}

TEST_F(ServerTest, HeartbeatsReachQuietPlayers)
{
    ServerOptions options = ServerHarness::testOptions();
    options.heartbeatInterval = std::chrono::milliseconds(50);
    start(options);
    auto quiet = joined("quiet");
    const auto beat = quiet->waitFor([](const Received& r) { return r.isHeartbeat(); });
    ASSERT_TRUE(beat);
    EXPECT_EQ(beat->byte, 0);
    EXPECT_TRUE(beat->exact);
}

TEST_F(ServerTest, RefusesNamesAndSaysWhy)
{
    start();
    auto ysolde = joined("Ysolde");
    // Codes: 1 invalid name, 2 taken; 0 for a name that is fine, whose PlayerInfo ends the test.
    const struct
    {
        std::string name;
        std::uint8_t result;
    } refusals[] = {
        {"Ysolde", 2}, {"YSOLDE", 2}, {"", 1}, {"abcdefghijklmnopqrstuvwxy", 1}, {"tab\tname", 1},
        {"\x1B[2J", 1}, {"\xE2\x80\xAE" "evil", 1}, {"nbsp\xC2\xA0", 0},
    };
    for (const auto& refusal : refusals)
    {
        auto refused = connect();
        refused->sendJoin(refusal.name);
        const auto reply = refused->next();
        ASSERT_TRUE(reply && reply->isJoinReply()) << refusal.name;
        EXPECT_EQ(reply->byte, refusal.result) << refusal.name;
        if (refusal.result != 0)
        {
            EXPECT_TRUE(refused->waitClosed()) << refusal.name;
        }
    }
    const auto next = ysolde->next();
    ASSERT_TRUE(next && next->isPlayerInfo());
    EXPECT_EQ(next->text, "nbsp\xC2\xA0");
}

TEST_F(ServerTest, RefusesPlayersBeyondTheCap)
{
    ServerOptions options = ServerHarness::testOptions();
    options.maxPlayers = 1;
    start(options);
    auto only = joined("only");
    auto extra = connect();
    extra->sendJoin("extra");
    const auto reply = extra->next();
    ASSERT_TRUE(reply && reply->isJoinReply());
    EXPECT_EQ(reply->byte, 3);
    EXPECT_TRUE(extra->waitClosed());

    only->sendLeave();
    EXPECT_TRUE(only->waitClosed());
    auto next = connect();
    EXPECT_TRUE(next->join("next"));
}

TEST_F(ServerTest, IgnoresMovementThatIsNotFiniteOrOffTheMap)
{
    // Everybody in everybody's area: any record let through would be relayed.
    ServerOptions options = ServerHarness::testOptions();
    options.interestRadius = 40000.f;
    start(options);
    auto mover = joined("mover");
    auto watcher = joined("watcher");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float edge = World::MapSize;
    const Vector3 ignored[][2] = {
        {alongX(nan), Vector3()},
        {Vector3(), alongX(-std::numeric_limits<float>::infinity())},
        {Vector3(-0.5f, 100.f, 0.f), Vector3()},
        {Vector3(100.f, edge + 1.f, 0.f), Vector3()},
        {Vector3(edge * 4.f, edge * 4.f, 0.f), Vector3()},
    };
    for (const auto& move : ignored)
        mover->sendMove(move[0], move[1]);
    mover->sendChat("off the map");
    for (const Received& record : readUntilChat(*watcher, "off the map"))
        EXPECT_FALSE(record.isPlayerMove()) << record.position.x << ", " << record.position.y;

    mover->sendMove(Vector3(edge, 0.f, 0.f), Vector3(1.f, 2.f, 0.f));
    const auto move = watcher->waitFor([](const Received& r) { return r.isPlayerMove(); });
    ASSERT_TRUE(move);
    EXPECT_EQ(move->position, Vector3(edge, 0.f, 0.f));
    EXPECT_EQ(move->speed, Vector3(1.f, 2.f, 0.f));
}

TEST_F(ServerTest, LimitsTheChatRate)
{
    ServerOptions options = ServerHarness::testOptions();
    options.chatLines = 5;
    options.chatWindow = std::chrono::minutes(10);
    start(options);
    auto chatty = joined("chatty");
    auto listener = joined("listener");
    for (int i = 0; i < 8; ++i)
        chatty->sendChat("line " + std::to_string(i));
    chatty->sendEntityMessage(1, "Rosebud");

    std::vector<std::string> lines;
    while (auto record = listener->next())
    {
        if (record->isEntityMessage())
            break;
        if (record->isChat())
            lines.push_back(record->text);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"line 0", "line 1", "line 2", "line 3", "line 4"}));
}

TEST_F(ServerTest, DropsAClientThatStopsReading)
{
    ServerOptions options = ServerHarness::testOptions();
    options.maxBacklog = 64 * 1024;
    options.chatLines = 1000000;
    options.maxChatBytes = 65535;
    start(options);
    // A small receive buffer, so that the kernel cannot soak up megabytes on the deaf client's behalf.
    TestClient deaf(mServer->getPort(), 4096);
    ASSERT_TRUE(deaf.join("deaf"));
    auto flooder = joined("flooder");
    const std::uint32_t deafId = idOf(*flooder, "deaf");

    // The deaf client never reads; once the kernel's buffers are full the server's backlog grows.
    const std::string line(60000, 'x');
    std::optional<Received> quit;
    for (int batch = 0; batch < 2000 && !quit; ++batch)
    {
        flooder->sendChat(line);
        quit = flooder->waitFor([](const Received& r) { return r.isPlayerQuit(); }, std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, deafId);
}

TEST_F(ServerTest, StoppingClosesEveryConnection)
{
    start();
    auto player = joined("player");
    auto stranger = connect();
    mServer->stop();
    EXPECT_TRUE(player->waitClosed());
    EXPECT_TRUE(stranger->waitClosed());
}

/// A client that sends something no client may send is dropped; the others hear it quit and
/// the server goes on serving.
class MisbehavingClientTest : public ServerTest, public ::testing::WithParamInterface<const char*>
{
protected:
    static std::string wire(std::uint8_t channel, std::initializer_list<std::uint8_t> payload)
    {
        Packet packet;
        packet.setChannel(channel);
        for (std::uint8_t byte : payload)
            packet.writeU8(byte);
        packet.computeChecksum();
        return packet.serialize();
    }

    static std::string garbage(const std::string& kind)
    {
        if (kind == "bad checksum")
        {
            std::string bytes = wire(2, {2, 0, 'h', 'i'});
            bytes[10] ^= 0x01;
            return bytes;
        }
        if (kind == "oversized packet")
            return std::string{0, 0, 0, 0, 2, 0, 1, 2};  // announces 65,538 payload bytes
        if (kind == "truncated record")
            return wire(1, {2, 0, 0, 0x80});
        if (kind == "unknown kind")
            return wire(0, {7, 1, 0});
        if (kind == "server record")
            return wire(0, {2, 0xEF, 0xBE, 1, 0, 0, 0, 1, 'x'});
        if (kind == "unknown channel")
            return wire(9, {0});
        if (kind == "second join")
            return wire(0, {0, 1, 0, 5, 'a', 'g', 'a', 'i', 'n'});
        if (kind == "trailing bytes")
            return wire(0, {0, 0xA7, 0xBE, 0});
        throw std::invalid_argument(kind);
    }
};

TEST_P(MisbehavingClientTest, IsDroppedAlone)
{
    start();
    auto culprit = joined("culprit");
    auto bystander = joined("bystander");
    const std::uint32_t culpritId = idOf(*bystander, "culprit");

    culprit->sendRaw(garbage(GetParam()));
    const auto quit = bystander->waitFor([](const Received& r) { return r.isPlayerQuit(); });
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, culpritId);
    EXPECT_TRUE(culprit->waitClosed());

    auto newcomer = joined("newcomer");
    EXPECT_TRUE(bystander->waitFor([](const Received& r) { return r.isPlayerInfo() && r.text == "newcomer"; }));
    newcomer->sendChat("still here?");
    const auto line = bystander->waitFor([](const Received& r) { return r.isChat(); });
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text, "still here?");
}

INSTANTIATE_TEST_SUITE_P(Garbage, MisbehavingClientTest,
                         ::testing::Values("bad checksum", "oversized packet", "truncated record", "unknown kind",
                                           "server record", "unknown channel", "second join", "trailing bytes"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 c = c == ' ' ? '_' : c;
                             return name;
                         });
