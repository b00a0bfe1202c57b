// Hostile clients against the real server, with honest players as their victims: every attack
// runs, and the honest players still join, stay, see each other move and read clean chat.

#include "tests/server/ServerFixture.hpp"

#include "server/World.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using QEL::Hosting::ServerOptions;
using QEL::Hosting::World;
using QEL::Testing::Received;
using QEL::Testing::ServerHarness;
using QEL::Testing::TestClient;
using Plym::Math::Vector3;

namespace
{

/// A movement record at the centre, where the players stand, told apart by its height.
std::string moveBytes(float height)
{
    return TestClient::moveBytes(World::SpawnPosition + Vector3(0.f, 0.f, height), Vector3());
}

class HostileClientTest : public QEL::Testing::ServerFixture
{
protected:
    /// Two honest players, each seeing the other move and chat: the proof that the server
    /// still serves them.
    void expectHonestPlayersServed(TestClient& a, TestClient& b, const std::string& tag)
    {
        const Vector3 position(11111.f, 11222.f, 0.f);
        a.sendMove(position, Vector3(1.f, 0.f, 0.f));
        const auto move = b.waitFor([&position](const Received& r) { return r.isPlayerMove() && r.position == position; });
        EXPECT_TRUE(move) << tag;
        b.sendChat("still here, " + tag);
        EXPECT_TRUE(a.waitFor([&tag](const Received& r) { return r.isChat() && r.text == "still here, " + tag; })) << tag;
    }
};

} // namespace

TEST_F(HostileClientTest, AnEventFloodThenLeavingDoesNotHurtLaterPlayers)
{
    start();
    {
        auto flooder = joined("flooder");
        const std::string longName(255, 'x');
        for (std::uint32_t id = 1; id <= 17000; ++id)
            flooder->sendEntityMessage(id, id % 2 ? longName : "#REKT");
        flooder->sendLeave();
        EXPECT_TRUE(flooder->waitClosed());
    }
    auto late = joined("late");
    auto later = joined("later");
    // What was replayed: only events the game knows, and no more than the flooder's allowance.
    later->sendChat("replayed");
    std::size_t events = 0;
    for (const Received& record : readUntilChat(*late, "replayed"))
    {
        if (record.isEntityMessage())
        {
            ++events;
            EXPECT_EQ(record.text, "#REKT");
        }
    }
    EXPECT_GT(events, 0u);
    EXPECT_LE(events, static_cast<std::size_t>(ServerHarness::testOptions().eventBurst) + 1);
    expectHonestPlayersServed(*late, *later, "after the flood");
}

TEST_F(HostileClientTest, ForgedWorldEventsAreNeitherRelayedNorReplayed)
{
    ServerOptions options = ServerHarness::testOptions();
    options.maxEntityId = 1000;
    start(options);
    auto forger = joined("forger");
    auto victim = joined("victim");
    idOf(*forger, "victim");
    const struct
    {
        std::uint32_t entity;
        std::string name;
        bool relayed;
    } events[] = {
        {12, "#REKT", true},   {12, "#REKT", false},  {12, "#branch", true}, {1000, "Rosebud", true},
        {1001, "#REKT", false}, {0, "Rosebud", false}, {13, "#rekt", false},  {14, "QEL.Chat.Message", false},
        {15, std::string("#REKT\0", 6), false},
    };
    std::vector<std::pair<std::uint32_t, std::string>> expected;
    for (const auto& event : events)
    {
        forger->sendEntityMessage(event.entity, event.name);
        if (event.relayed)
            expected.emplace_back(event.entity, event.name);
    }
    forger->sendChat("done");

    auto late = joined("late");
    idOf(*forger, "late");
    forger->sendChat("late done");
    for (auto* client : {victim.get(), late.get()})
    {
        std::vector<std::pair<std::uint32_t, std::string>> seen;
        for (const Received& record : readUntilChat(*client, client == late.get() ? "late done" : "done"))
        {
            if (record.isEntityMessage())
                seen.emplace_back(record.id, record.text);
        }
        EXPECT_EQ(seen, expected);
    }
}

TEST_F(HostileClientTest, AMoveFlooderIsThrottledThenDroppedAndHonestPlayersMoveOn)
{
    start();
    auto flooder = joined("flooder");
    auto walker = joined("walker");
    auto watcher = joined("watcher");
    const std::uint32_t flooderId = idOf(*watcher, "flooder");
    idOf(*watcher, "walker");

    std::string flood;
    for (int i = 0; i < 20000; ++i)
        flood += moveBytes(static_cast<float>(i));
    flooder->sendRaw(flood);
    std::size_t relayed = 0;
    const auto quit = watcher->waitFor([&](const Received& r) {
        relayed += r.isPlayerMove() && r.id == flooderId ? 1 : 0;
        return r.isPlayerQuit();
    });
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, flooderId);
    // Far fewer than were sent: the burst and what the pace allowed until the drop.
    EXPECT_GE(relayed, 1u);
    EXPECT_LE(relayed, 40u);

    expectHonestPlayersServed(*walker, *watcher, "after the move flood");
}

TEST_F(HostileClientTest, MovesTooEarlyAreHeldAndTheNewestIsRelayed)
{
    ServerOptions options = ServerHarness::testOptions();
    options.streamBurst = 1;
    start(options);
    auto mover = joined("mover");
    auto watcher = joined("watcher");
    idOf(*mover, "watcher");
    mover->sendRaw(moveBytes(1.f) + moveBytes(2.f) + moveBytes(3.f) + moveBytes(4.f));
    std::vector<float> seen;
    while (seen.empty() || seen.back() != 4.f)
    {
        const auto move = watcher->waitFor([](const Received& r) { return r.isPlayerMove(); });
        ASSERT_TRUE(move);
        seen.push_back(move->position.z);
    }
    // The first went at once; the ones in between were overtaken by the newest.
    EXPECT_EQ(seen, (std::vector<float>{1.f, 4.f}));
}

TEST_F(HostileClientTest, ChatReachesOthersCleanAndCut)
{
    ServerOptions options = ServerHarness::testOptions();
    options.maxChatBytes = 1024;
    options.chatLines = 100;
    start(options);
    auto speaker = joined("speaker");
    auto reader = joined("reader");
    idOf(*speaker, "reader");
    const std::string fffd = "\xEF\xBF\xBD";
    std::string longLine = "a";
    for (int i = 0; i < 600; ++i)
        longLine += "\xC3\xA9";
    const struct
    {
        std::string said;
        std::string read;
    } lines[] = {
        {"hi\nbob: give me your axe\x1b[2J", "hi" + fffd + "bob: give me your axe" + fffd + "[2J"},
        {"\xE2\x80\xAE" "desrever\xE2\x81\xA9 \xC2\x9B" "1m", fffd + "desrever" + fffd + " " + fffd + "1m"},
        {"bad \xFF\xC3 bytes", "bad " + fffd + fffd + " bytes"},
        {longLine, longLine.substr(0, 1023)},
    };
    for (const auto& line : lines)
    {
        speaker->sendChat(line.said);
        const auto heard = reader->waitFor([](const Received& r) { return r.isChat(); });
        ASSERT_TRUE(heard);
        EXPECT_EQ(heard->text, line.read);
    }
}

TEST_F(HostileClientTest, ConnectionsThatNeverJoinCannotHoldThePlayersSlots)
{
    ServerOptions options = ServerHarness::testOptions();
    options.maxPlayers = 4;
    options.maxPending = 32;
    options.maxPendingPerAddress = 8;
    options.joinTimeout = std::chrono::milliseconds(1000);
    start(options);
    // 96 connections from three other hosts, kept alive but never joining: eight from each are
    // held until the join deadline, the rest closed at once.
    std::vector<std::unique_ptr<TestClient>> squatters;
    for (int i = 0; i < 96; ++i)
    {
        squatters.push_back(connect("127.0.0." + std::to_string(2 + i % 3)));
        squatters.back()->sendKeepAlive();
    }
    // Honest players from elsewhere join all the same, up to the player cap.
    auto first = joined("first", "127.0.0.9");
    auto second = joined("second", "127.0.0.10");
    idOf(*first, "second");
    expectHonestPlayersServed(*first, *second, "among squatters");

    // No squatter outlives the join deadline, KeepAlive or not.
    std::size_t closed = 0;
    for (const auto& squatter : squatters)
    {
        squatter->sendKeepAlive();
        closed += squatter->waitClosed() ? 1 : 0;
    }
    EXPECT_EQ(closed, squatters.size());
    auto third = joined("third", "127.0.0.2");
    EXPECT_TRUE(first->waitFor([](const Received& r) { return r.isPlayerInfo() && r.text == "third"; }));
}

TEST_F(HostileClientTest, AReplayLargerThanTheBacklogGoesAtTheJoinersPace)
{
    ServerOptions options = ServerHarness::testOptions();
    options.maxBacklog = 16 * 1024;
    options.eventRate = 100000;
    options.eventBurst = 100000;
    options.chatLines = 100;
    start(options);
    const std::uint32_t events = 3000;  // about 70 KB of records
    {
        auto feller = joined("feller");
        auto witness = joined("witness");
        idOf(*feller, "witness");
        // In rounds the witness takes in live, each well within the backlog.
        for (std::uint32_t id = 1; id <= events; ++id)
        {
            feller->sendEntityMessage(id, "#REKT");
            if (id % 300 == 0)
            {
                feller->sendChat("felled " + std::to_string(id));
                ASSERT_FALSE(readUntilChat(*witness, "felled " + std::to_string(id)).empty());
            }
        }
    }
    auto late = joined("late");
    std::uint32_t replayed = 0;
    const auto last = late->waitFor([&replayed, events](const Received& r) {
        replayed += r.isEntityMessage() ? 1 : 0;
        return r.isEntityMessage() && r.id == events;
    });
    ASSERT_TRUE(last);
    EXPECT_EQ(replayed, events);
}

TEST_F(HostileClientTest, ASlowReaderGetsEachMoversNewestMoveInsteadOfABacklog)
{
    ServerOptions options = ServerHarness::testOptions();
    options.maxBacklog = 16 * 1024;
    options.streamRate = 1000000;
    options.streamBurst = 1000000;
    options.floodRate = 1000000;
    start(options);
    // A small receive buffer, so that the kernel holds little on the slow reader's behalf.
    TestClient slow(mServer->getPort(), 4096);
    ASSERT_TRUE(slow.join("slow"));
    auto watcher = joined("watcher");
    // Three movers stream at once, so that their moves reach the slow reader interleaved; each
    // height tells the mover (hundred thousands) and the move (units).
    constexpr int Movers = 3;
    constexpr int Moves = 7000;
    std::vector<std::unique_ptr<TestClient>> movers;
    std::vector<std::uint32_t> ids;
    for (int m = 1; m <= Movers; ++m)
    {
        movers.push_back(joined("mover" + std::to_string(m)));
        ids.push_back(idOf(slow, "mover" + std::to_string(m)));
    }
    idOf(*movers.back(), "watcher");
    // The last to join streams first: the server then queues a higher id before lower ones.
    for (int m = Movers; m >= 1; --m)
    {
        std::string moves;
        for (int i = 1; i <= Moves; ++i)
            moves += moveBytes(static_cast<float>(m * 100000 + i));
        movers[m - 1]->sendRaw(moves);
    }
    for (int m = 1; m <= Movers; ++m)
        movers[m - 1]->sendChat("moved");
    // Once the watcher hears every line, every move has been queued for the slow reader too.
    for (int m = 1; m <= Movers; ++m)
        ASSERT_FALSE(readUntilChat(*watcher, "moved").empty());
    std::vector<float> newest(Movers, 0.f);
    int received = 0;
    for (int m = 1; m <= Movers; ++m)
    {
        for (const Received& record : readUntilChat(slow, "moved"))
        {
            if (!record.isPlayerMove())
                continue;
            const int mover = static_cast<int>(record.position.z) / 100000;
            ASSERT_TRUE(mover >= 1 && mover <= Movers) << record.position.z;
            EXPECT_EQ(record.id, ids[mover - 1]) << "a move under another player's id";
            newest[mover - 1] = record.position.z;
            ++received;
        }
    }
    for (int m = 1; m <= Movers; ++m)
        EXPECT_EQ(newest[m - 1], static_cast<float>(m * 100000 + Moves)) << "mover " << m;
    // Most moves were overtaken while they waited.
    EXPECT_LT(received, Movers * Moves / 2);
}
