#ifndef QEL_TESTS_NETWORK_NETWORKTEST_HPP
#define QEL_TESTS_NETWORK_NETWORKTEST_HPP

#include "ecs/EntitySystem.hpp"
#include "network/Client.hpp"
#include "network/MessageHandler.hpp"
#include "plym/game/Engine.hpp"
#include "tests/network/TestComponents.hpp"
#include "tests/network/TestPeer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// Keeps every packet of its channel.
class Recorder : public QEL::Network::MessageHandler
{
public:
    void handle(QEL::Network::Packet& packet, const QEL::Network::Endpoint& from) override;

    std::vector<QEL::Network::Packet> packets;
};

/// A client connected to a loopback peer, with a real entity system and engine registry,
/// the test template "QEL.Man", and a clock the test sets by hand.
class NetworkTest : public ::testing::Test
{
protected:
    /// Channel of the marker packet that tells the test everything before it was handled.
    static constexpr std::uint8_t MarkerChannel = 200;

    NetworkTest();

    /// Connects the client and has the peer take the connection and the join request.
    void connectClient(const std::string& userName = "Alice");

    /// After a lost connection: moves the clock past any scheduled try, lets the client connect
    /// again and has the peer take the connection and the join request.
    void reconnectClient();

    /// connectClient, then a join reply with result 0.
    void joinClient();

    /// The peer sends the packets, then a marker, in one chunk; returns once the client has
    /// handled the marker, so every packet before it was dispatched.
    void deliver(const std::vector<QEL::Network::Packet>& packets);
    void deliverRaw(const std::string& bytes);

    /// deliver(), returning what the client printed on the console meanwhile.
    std::string deliverCapturing(const std::vector<QEL::Network::Packet>& packets);

    /// The peer takes the connection and the join request; a marker handler is installed.
    void takeJoin();

    /// Runs client updates until the condition holds; false when the deadline passed first.
    bool pumpUntil(const std::function<bool()>& condition);

    /// The peer's next packet from the client, failing the test when none comes.
    QEL::Network::Packet nextFromClient();

    Tessaly::EntitySystem mSystem;
    Plym::Engine mEngine;
    TestPeer mPeer;
    QEL::Network::Client mClient;
    std::int64_t mNow = 1000000;
    Recorder* mMarker = nullptr;
};

#endif
