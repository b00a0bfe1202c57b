#include "tests/network/NetworkTest.hpp"

#include "network/channels/Core.hpp"

#include <chrono>
#include <thread>

void Recorder::handle(QEL::Network::Packet& packet, const QEL::Network::Endpoint&)
{
    packets.push_back(packet);
}

NetworkTest::NetworkTest() :
mEngine(mSystem, 255),
mClient(mPeer.getEndpoint())
{
    mEngine.addService(mSystem);
    mEngine.addService(mClient);
    registerTestComponents(mSystem);
    mClient.setClock([this] { return mNow; });
}

void NetworkTest::connectClient(const std::string& userName)
{
    mClient.connect(sf::String::fromUtf8(userName.begin(), userName.end()));
    takeJoin();
}

void NetworkTest::reconnectClient()
{
    ASSERT_TRUE(mClient.isRetryScheduled());
    mNow += QEL::Network::RetrySchedule::LongestDelay;
    // The connect of the try goes on in the background; the session starts once it is made.
    ASSERT_TRUE(pumpUntil([&] { return mClient.getChannelHandler(0) != nullptr; }));
    takeJoin();
}

void NetworkTest::takeJoin()
{
    ASSERT_TRUE(mPeer.accept());
    QEL::Network::Packet join = nextFromClient();
    ASSERT_EQ(join.getChannel(), 0);
    auto marker = std::make_unique<Recorder>();
    mMarker = marker.get();
    mClient.setChannelHandler(MarkerChannel, std::move(marker));
}

void NetworkTest::joinClient()
{
    connectClient();
    deliver({makePacket(0, std::string("\x01\x01\x00\x00", 4))});
    ASSERT_EQ(mClient.getState(), QEL::Network::Joined);
}

void NetworkTest::deliver(const std::vector<QEL::Network::Packet>& packets)
{
    std::string bytes;
    for (const QEL::Network::Packet& packet : packets)
        bytes += wireBytes(packet);
    deliverRaw(bytes);
}

void NetworkTest::deliverRaw(const std::string& bytes)
{
    ASSERT_NE(mMarker, nullptr) << "connectClient() first";
    const std::size_t before = mMarker->packets.size();
    mPeer.sendRaw(bytes + wireBytes(makePacket(MarkerChannel, "")));
    ASSERT_TRUE(pumpUntil([&] { return mMarker->packets.size() > before; }));
}

std::string NetworkTest::deliverCapturing(const std::vector<QEL::Network::Packet>& packets)
{
    testing::internal::CaptureStdout();
    deliver(packets);
    return testing::internal::GetCapturedStdout();
}

bool NetworkTest::pumpUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;)
    {
        mClient.update();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

QEL::Network::Packet NetworkTest::nextFromClient()
{
    QEL::Network::Packet packet;
    EXPECT_TRUE(mPeer.receive(packet)) << "the client sent nothing";
    return packet;
}
