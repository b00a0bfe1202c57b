#include "network/channels/Core.hpp"
#include "tests/network/NetworkTest.hpp"
#include "tests/support/SilentServer.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

using namespace QEL::Network;

namespace
{

Packet joinReply(int result)
{
    return makePacket(0, bytes({1, 1, 0, result}));
}

Packet channelNotice()
{
    return makePacket(0, bytes({2, 17, 0, 0}));
}

/// Runs the action on a helper thread; a hang aborts the test program instead of stalling it.
void expectFinishes(const std::function<void()>& action)
{
    std::future<void> done = std::async(std::launch::async, action);
    if (done.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
    {
        std::fprintf(stderr, "the action did not finish\n");
        std::abort();
    }
}

/// An endpoint on which nothing listens.
Endpoint closedEndpoint()
{
    sf::TcpListener listener;
    listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
    return Endpoint(sf::IpAddress::LocalHost, listener.getLocalPort());
}

} // namespace

TEST(RetrySchedule, DoublesFromTwoSecondsToThirtyAndStartsOverAfterAJoin)
{
    RetrySchedule schedule;
    const std::int64_t expected[] = {2000000, 4000000, 8000000, 16000000, 30000000, 30000000, 30000000};
    for (std::int64_t delay : expected)
        EXPECT_EQ(schedule.nextDelay(), delay);
    EXPECT_EQ(schedule.getTries(), 7u);
    schedule.reset();
    EXPECT_EQ(schedule.nextDelay(), 2000000);
}

TEST(RetrySchedule, OnlyATakenNameIsTriedAgainAndOnlyAWhile)
{
    const std::vector<std::pair<int, bool>> rules = {{0, true}, {1, false}, {3, false}, {7, false}, {255, false}};
    for (const auto& [result, retried] : rules)
        EXPECT_EQ(RetrySchedule().allowsRetry(static_cast<std::uint8_t>(result)), retried) << result;

    RetrySchedule schedule;
    for (unsigned i = 0; i < RetrySchedule::NameTakenTries; ++i)
        EXPECT_TRUE(schedule.allowsRetry(2));
    EXPECT_FALSE(schedule.allowsRetry(2));
    schedule.reset();
    EXPECT_TRUE(schedule.allowsRetry(2));
}

TEST_F(NetworkTest, JoinRequestTravelsAsItsExactBytes)
{
    mClient.connect("Alice");
    EXPECT_EQ(mClient.getState(), Connecting);
    ASSERT_TRUE(mPeer.accept());
    std::string wire;
    ASSERT_TRUE(mPeer.receiveRaw(wire, 17));
    // CRC-32 of the payload 00 01 00 05 "Alice" is 0x5A03E1DD.
    EXPECT_EQ(wire, bytes({0xDD, 0xE1, 0x03, 0x5A, 9, 0, 0, 0, 0, 1, 0, 5}) + "Alice");
    EXPECT_NE(dynamic_cast<Channels::Core*>(mClient.getChannelHandler(0)), nullptr);

    // Connecting again while connecting sends nothing: the test's own packet comes next.
    mClient.connect("Bob");
    mClient.send(makePacket(5, "after"));
    EXPECT_EQ(nextFromClient().getPayload(), "after");
}

TEST_F(NetworkTest, JoinReplyDecidesTheState)
{
    connectClient();
    deliver({makePacket(0, bytes({0, 1, 0, 0}))});
    EXPECT_EQ(mClient.getState(), Connecting) << "a client-side record from the server is ignored";
    deliver({joinReply(0)});
    EXPECT_EQ(mClient.getState(), Joined);
    deliver({joinReply(0)});
    EXPECT_EQ(mClient.getState(), Joined);
    deliver({joinReply(1)});
    EXPECT_EQ(mClient.getState(), Failed);
}

TEST(ClientState, APositiveStateNeverLowersAnother)
{
    Client client(closedEndpoint());
    client.setState(Joined);
    client.setState(Connecting);
    EXPECT_EQ(client.getState(), Joined);
    client.setState(Idle);
    EXPECT_EQ(client.getState(), Idle);
    client.setState(Joined);
    client.setState(Failed);
    EXPECT_EQ(client.getState(), Failed);
    client.setState(Connecting);
    EXPECT_EQ(client.getState(), Connecting);
}

TEST_F(NetworkTest, KeepAliveAfterSilenceAtMostEveryTenSeconds)
{
    connectClient();
    const std::int64_t start = mNow;
    const auto stepAt = [&](std::int64_t offset) {
        mNow = start + offset;
        mClient.update();
    };
    stepAt(8000000);
    stepAt(8500000);
    stepAt(9000000);
    stepAt(18500000);
    mClient.send(makePacket(5, "A"));
    stepAt(18500001);
    mClient.send(makePacket(5, "B"));

    const std::string keepAlive = bytes({0x00, 0xA7, 0xBE});
    EXPECT_EQ(nextFromClient().getPayload(), keepAlive);
    EXPECT_EQ(nextFromClient().getPayload(), "A");
    EXPECT_EQ(nextFromClient().getPayload(), keepAlive);
    EXPECT_EQ(nextFromClient().getPayload(), "B");
}

TEST_F(NetworkTest, ReceivedPacketsPostponeTheKeepAlive)
{
    connectClient();
    mNow += 7000000;
    deliver({channelNotice()});
    const std::int64_t first = mNow;
    EXPECT_EQ(mClient.getLastReceived(), first);

    mNow = first + 8000000;
    mClient.update();
    mClient.send(makePacket(5, "A"));
    mNow = first + 8000001;
    mClient.update(); // keep-alive; the next would wait until first + 18000001

    mNow = first + 9000000;
    deliver({channelNotice()});
    const std::int64_t second = mNow;
    EXPECT_EQ(mClient.getLastReceived(), second);
    mNow = second + 8000001;
    mClient.update(); // due again at once: the packet also reset the keep-alive time
    mClient.send(makePacket(5, "B"));

    const std::string keepAlive = bytes({0x00, 0xA7, 0xBE});
    EXPECT_EQ(nextFromClient().getPayload(), "A");
    EXPECT_EQ(nextFromClient().getPayload(), keepAlive);
    EXPECT_EQ(nextFromClient().getPayload(), keepAlive);
    EXPECT_EQ(nextFromClient().getPayload(), "B");
}

TEST_F(NetworkTest, DisconnectSaysGoodbyeWhenJoined)
{
    joinClient();
    mClient.disconnect();
    EXPECT_EQ(mClient.getState(), Idle);
    EXPECT_EQ(mClient.getChannelHandler(0), nullptr);
    const Packet goodbye = nextFromClient();
    EXPECT_EQ(goodbye.getChannel(), 0);
    EXPECT_EQ(goodbye.getPayload(), bytes({0x00, 0xAD, 0xDE}));
    EXPECT_TRUE(mPeer.waitForClose());
}

TEST_F(NetworkTest, DisconnectWhileConnectingClosesWithoutGoodbye)
{
    connectClient();
    expectFinishes([&] { mClient.disconnect(); });
    EXPECT_EQ(mClient.getState(), Idle);
    Packet packet;
    EXPECT_FALSE(mPeer.receive(packet));
    EXPECT_TRUE(mPeer.waitForClose());
}

TEST_F(NetworkTest, DisconnectReturnsWhileThePeerReadsNothing)
{
    joinClient();
    // Far more than the socket buffers hold, so the writer blocks on a peer that never reads.
    const Packet big = makePacket(5, std::string(Packet::MaxClientPayload, 'x'));
    for (int i = 0; i < 400; ++i)
        mClient.send(big);
    expectFinishes([&] { mClient.disconnect(); });
    EXPECT_EQ(mClient.getState(), Idle);
    EXPECT_TRUE(mPeer.waitForClose());
}

TEST_F(NetworkTest, APeerThatLeavesEndsTheConnection)
{
    joinClient();
    mPeer.close();
    ASSERT_TRUE(pumpUntil([&] { return mClient.getState() == Idle; }));
    EXPECT_EQ(mClient.getChannelHandler(0), nullptr);
    mClient.send(makePacket(5, "dropped")); // no writer: dropped without a word
    mClient.update();
}

TEST(ClientLifetime, AFailedConnectionEndsIdle)
{
    Client client(closedEndpoint());
    client.connect("Alice");
    EXPECT_EQ(client.getState(), Failed);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (client.getState() != Idle && std::chrono::steady_clock::now() < deadline)
        client.update();
    EXPECT_EQ(client.getState(), Idle);
    EXPECT_EQ(client.getChannelHandler(0), nullptr);
}

TEST_F(NetworkTest, TheChatBoxTellsHowTheConnectionStands)
{
    auto* log = dynamic_cast<ChatLog*>(mSystem.createComponent("Test.ChatLog"));
    mSystem.addComponent(mSystem.createEntity(), log);
    const std::string peer = mClient.getServer().address.toString() + ":" + std::to_string(mClient.getServer().port);

    joinClient();
    mPeer.close();
    ASSERT_TRUE(pumpUntil([&] { return mClient.getState() == Idle; }));
    EXPECT_EQ(log->notices, (std::vector<sf::String>{"Connecting to " + peer + "...", "Joined " + peer, "Connection lost",
                                                     "Trying to connect again in 2 seconds"}));

    log->notices.clear();
    Client refused(closedEndpoint());
    refused.connect("Alice");
    ASSERT_TRUE(pumpUntil([&] {
        refused.update();
        return refused.getState() == Idle;
    }));
    // The connection that was never made is not lost as well.
    const std::string closed = refused.getServer().address.toString() + ":" + std::to_string(refused.getServer().port);
    EXPECT_EQ(log->notices, (std::vector<sf::String>{"Connecting to " + closed + "...",
                                                     "Connection failed: " + closed + " refused it (is the server running?)",
                                                     "Trying to connect again in 2 seconds"}));
}

TEST(ClientLifetime, DisconnectWithoutConnectReturns)
{
    Client client(closedEndpoint());
    expectFinishes([&] {
        client.disconnect();
        client.disconnect();
    });
    EXPECT_EQ(client.getState(), Idle);
}

TEST_F(NetworkTest, ConnectingAgainAfterAFailureStartsOver)
{
    joinClient();
    deliver({joinReply(1)});
    ASSERT_EQ(mClient.getState(), Failed);
    mClient.connect("Again");
    EXPECT_TRUE(mPeer.waitForClose()) << "the old connection is closed";
    ASSERT_TRUE(mPeer.accept());
    Packet join = nextFromClient();
    std::uint8_t kind;
    std::uint16_t code;
    std::string name;
    join.readU8(kind).readU16(code).readStr8(name);
    EXPECT_EQ(name, "Again");
    EXPECT_EQ(mClient.getState(), Connecting);
}

TEST_F(NetworkTest, APacketSentOneByteAtATimeArrivesWhole)
{
    connectClient();
    const std::string wire = wireBytes(makePacket(MarkerChannel, "piece by piece"));
    for (std::size_t i = 0; i + 1 < wire.size(); ++i)
    {
        mPeer.sendRaw(wire.substr(i, 1));
        mClient.update();
    }
    EXPECT_TRUE(mMarker->packets.empty());
    mPeer.sendRaw(wire.substr(wire.size() - 1));
    ASSERT_TRUE(pumpUntil([&] { return !mMarker->packets.empty(); }));
    ASSERT_EQ(mMarker->packets.size(), 1u);
    EXPECT_EQ(mMarker->packets[0].getPayload(), "piece by piece");
}

TEST_F(NetworkTest, PacketsOfOneChunkAreHandledInOrder)
{
    connectClient();
    deliver({makePacket(MarkerChannel, "one"), makePacket(MarkerChannel, "two")});
    ASSERT_EQ(mMarker->packets.size(), 3u);
    EXPECT_EQ(mMarker->packets[0].getPayload(), "one");
    EXPECT_EQ(mMarker->packets[1].getPayload(), "two");
}

TEST_F(NetworkTest, APacketWithABadChecksumIsDroppedAndTheStreamGoesOn)
{
    connectClient();
    std::string corrupt = wireBytes(makePacket(MarkerChannel, "corrupt"));
    corrupt[8] ^= 0x20;
    deliverRaw(corrupt + wireBytes(makePacket(MarkerChannel, "good")));
    ASSERT_EQ(mMarker->packets.size(), 2u);
    EXPECT_EQ(mMarker->packets[0].getPayload(), "good");
}

TEST_F(NetworkTest, APacketOnAChannelWithoutHandlerIsDropped)
{
    connectClient();
    EXPECT_EQ(deliverCapturing({makePacket(99, "lost")}), "Dropped a packet on channel 99: no handler\n");
    EXPECT_EQ(mMarker->packets.size(), 1u);
}

// A server sending packets nobody handles, over and over, gets a few console lines, not one each.
TEST_F(NetworkTest, DroppedPacketsSayAFewLinesAWhile)
{
    connectClient();
    const std::vector<QEL::Network::Packet> flood(100, makePacket(99, "lost"));
    const std::string console = deliverCapturing(flood);
    EXPECT_EQ(static_cast<std::size_t>(std::count(console.begin(), console.end(), '\n')), QEL::Network::ConsoleLog::LinesPerKind);
    EXPECT_EQ(console.find("Dropped a packet on channel 99: no handler\n"), 0u);
    EXPECT_EQ(mMarker->packets.size(), 1u);
}

TEST_F(NetworkTest, PayloadsOverTheLimitAreNotSent)
{
    connectClient();
    testing::internal::CaptureStdout();
    mClient.send(makePacket(5, std::string(Packet::MaxClientPayload + 1, 'x')));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Packet of 65538 bytes not sent: the server accepts at most 65537\n");
    mClient.send(makePacket(5, std::string(Packet::MaxClientPayload, 'y')));
    EXPECT_EQ(nextFromClient().getLength(), Packet::MaxClientPayload);
}

TEST_F(NetworkTest, ATakenNameIsTriedAgainAWhileOtherRefusalsAreFinal)
{
    auto* log = dynamic_cast<ChatLog*>(mSystem.createComponent("Test.ChatLog"));
    mSystem.addComponent(mSystem.createEntity(), log);
    const auto refuse = [&](int result) {
        deliver({joinReply(result)});
        mPeer.drop();
        ASSERT_TRUE(pumpUntil([&] { return mClient.getState() == Idle; }));
    };

    connectClient();
    refuse(2);
    ASSERT_TRUE(mClient.isRetryScheduled());
    const std::int64_t lost = mNow;
    mNow = lost + RetrySchedule::FirstDelay - 1;
    mClient.update();
    EXPECT_EQ(mClient.getState(), Idle) << "no try before its time";
    mNow = lost + RetrySchedule::FirstDelay;
    mClient.update();
    EXPECT_EQ(mClient.getState(), Connecting);
    ASSERT_TRUE(pumpUntil([&] { return mClient.getChannelHandler(0) != nullptr; }));
    takeJoin();
    for (unsigned i = 1; i < RetrySchedule::NameTakenTries; ++i)
    {
        refuse(2);
        reconnectClient();
    }
    refuse(2);
    EXPECT_FALSE(mClient.isRetryScheduled());
    EXPECT_EQ(log->notices.back(), "The name stays taken: no more tries to connect");

    // A join lets the taken name be tried again; a full server ends the tries at once.
    mClient.connect("Alice");
    takeJoin();
    deliver({joinReply(0)});
    mPeer.drop();
    ASSERT_TRUE(pumpUntil([&] { return mClient.isRetryScheduled(); }));
    reconnectClient();
    refuse(3);
    EXPECT_FALSE(mClient.isRetryScheduled());
    EXPECT_EQ(log->notices.back(), "No more tries to connect");
    mNow += 60000000;
    mClient.update();
    EXPECT_EQ(mClient.getState(), Idle);
}

// The game goes on while a try waits for a server that never answers, and ends at once.
TEST(ClientLifetime, ATryNeverWaitsForAServerThatDoesNotAnswer)
{
    QEL::Testing::SilentServer server;
    Client client(Endpoint(sf::IpAddress::LocalHost, server.getPort()));
    std::int64_t now = 1000000;
    client.setClock([&] { return now; });
    client.connect("Alice");
    ASSERT_EQ(client.getState(), Failed) << "nothing listens yet";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!client.isRetryScheduled() && std::chrono::steady_clock::now() < deadline)
        client.update();
    ASSERT_TRUE(client.isRetryScheduled());

    ASSERT_TRUE(server.stopAnswering());
    now += RetrySchedule::FirstDelay;
    expectFinishes([&] { client.update(); });
    EXPECT_EQ(client.getState(), Connecting);
    now += 10000001;
    expectFinishes([&] { client.update(); });
    EXPECT_EQ(client.getState(), Idle) << "a try that takes too long fails";
    ASSERT_TRUE(client.isRetryScheduled());

    now += 4000000;
    expectFinishes([&] { client.update(); });
    EXPECT_EQ(client.getState(), Connecting);
    expectFinishes([&] { client.disconnect(); });
    EXPECT_EQ(client.getState(), Idle);
    EXPECT_FALSE(client.isRetryScheduled());
}

// The first connection, made before the window opens, gives up on a server that does not answer
// after the same 10 s as a later try, instead of the system's minutes, and tries again later.
TEST(ClientLifetime, TheFirstConnectionGivesUpOnAServerThatDoesNotAnswer)
{
    QEL::Testing::SilentServer server;
    ASSERT_TRUE(server.stopAnswering());
    Client client(Endpoint(sf::IpAddress::LocalHost, server.getPort()));
    std::int64_t now = 1000000;
    client.setClock([&] { return now; });
    expectFinishes([&] { client.connect("Alice"); });
    EXPECT_EQ(client.getState(), Failed);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!client.isRetryScheduled() && std::chrono::steady_clock::now() < deadline)
        client.update();
    EXPECT_TRUE(client.isRetryScheduled());
}

// What the player does while the connection is down reaches the others once the server has let
// the client in again: in the order it was made and a few a second, so that the server's event
// rate refuses none of it. Beyond what may be kept, the oldest are kept.
TEST_F(NetworkTest, WorldEventsMadeWhileDisconnectedAreSentOnceJoinedAgain)
{
    const auto nextEvent = [this] {
        for (;;)
        {
            Packet packet = nextFromClient();
            if (packet.getPayload() != Channels::Core::makeKeepAlive().getPayload())
                return packet.getPayload();
        }
    };
    const auto event = [](std::uint32_t entity) { return Channels::Core::makeEntityMessage(entity, "#REKT").getPayload(); };
    const auto loseConnection = [this] {
        mPeer.drop();
        ASSERT_TRUE(pumpUntil([this] { return mClient.isRetryScheduled(); }));
    };

    joinClient();
    mClient.sendWorldEvent(1, "#REKT");
    EXPECT_EQ(nextEvent(), event(1)) << "joined: sent at once";

    loseConnection();
    mClient.sendWorldEvent(2, "#REKT");
    mClient.sendWorldEvent(3, "#REKT");
    reconnectClient();
    deliver({joinReply(0)});
    mClient.update();
    mClient.update();
    mClient.send(makePacket(MarkerChannel, "paced"));
    EXPECT_EQ(nextEvent(), event(2));
    EXPECT_EQ(nextFromClient().getPayload(), "paced") << "one kept event per interval";
    // Made while the kept ones still wait: it queues behind them.
    mClient.sendWorldEvent(4, "#REKT");
    for (std::uint32_t entity : {3u, 4u})
    {
        mNow += 300000;
        mClient.update();
        EXPECT_EQ(nextEvent(), event(entity));
    }

    loseConnection();
    testing::internal::CaptureStdout();
    for (std::uint32_t entity = 1; entity <= Client::MaxUnsentEvents + 40; ++entity)
        mClient.sendWorldEvent(entity, "#REKT");
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_EQ(static_cast<std::size_t>(std::count(console.begin(), console.end(), '\n')), ConsoleLog::LinesPerKind);
    reconnectClient();
    deliver({joinReply(0)});
    for (std::uint32_t entity = 1; entity <= Client::MaxUnsentEvents; ++entity)
    {
        mNow += 300000;
        mClient.update();
        ASSERT_EQ(nextEvent(), event(entity));
    }
}
