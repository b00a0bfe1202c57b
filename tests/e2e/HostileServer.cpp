#include "tests/e2e/HostileServer.hpp"

#include "network/Packet.hpp"
#include "network/Protocol.hpp"
#include "network/channels/Chat.hpp"
#include "network/channels/Core.hpp"
#include "network/channels/PlayerStream.hpp"
#include "server/RecordWriter.hpp"

#include <array>
#include <stdexcept>

namespace QEL
{
namespace Testing
{
namespace
{

using Network::Channels::Chat;
using Network::Channels::Core;
using Network::Channels::PlayerStream;
using Hosting::RecordWriter;

const sf::Time Poll = sf::milliseconds(50);

bool isJoinRequest(Network::Packet& packet)
{
    std::uint8_t kind = 0;
    std::uint16_t code = 0;
    if (packet.getChannel() != 0 || packet.getRemaining() < 3)
        return false;
    packet.readU8(kind).readU16(code);
    return kind == Core::Request && code == Core::JoinRequest;
}

} // namespace

HostileServer::HostileServer()
{
    if (mListener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) != sf::Socket::Done)
        throw std::runtime_error("The hostile server cannot listen on loopback");
    mSelector.add(mListener);
    mThread = std::thread([this] { serve(); });
}

HostileServer::~HostileServer()
{
    mStopping = true;
    mThread.join();
}

std::string HostileServer::getAddress() const
{
    return "127.0.0.1:" + std::to_string(mListener.getLocalPort());
}

bool HostileServer::waitForJoinRequest(std::chrono::milliseconds deadline)
{
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, deadline, [this] { return mJoinRequested; });
}

void HostileServer::reply(std::uint8_t result)
{
    send(RecordWriter::joinReply(result));
    if (result != Core::Accepted)
        return;
    send(RecordWriter::openChannel(PlayerStream::OutgoingChannel, Network::Protocol::PlayerStreamType));
    send(RecordWriter::openChannel(Chat::OutgoingChannel, Network::Protocol::ChatType));
}

void HostileServer::announcePlayer(std::uint32_t id, const std::string& name)
{
    send(RecordWriter::playerInfo(id, name, Plym::Math::Vector3(11520.f, 11700.f, 0.f), true));
}

void HostileServer::say(std::uint32_t speaker, const std::string& text)
{
    send(RecordWriter::chatLine(speaker, text));
}

double HostileServer::measureStreamRate(std::size_t records, std::chrono::milliseconds deadline)
{
    std::unique_lock<std::mutex> lock(mMutex);
    const std::size_t first = mStreamRecords.size();
    if (records < 2 || !mChanged.wait_for(lock, deadline, [&] { return mStreamRecords.size() >= first + records; }))
        return 0.0;
    const std::chrono::duration<double> span = mStreamRecords[first + records - 1] - mStreamRecords[first];
    return static_cast<double>(records - 1) / span.count();
}

void HostileServer::serve()
{
    bool connected = false;
    while (!mStopping)
    {
        if (!mSelector.wait(Poll))
            continue;
        if (!connected && mSelector.isReady(mListener) && mListener.accept(mClient) == sf::Socket::Done)
        {
            connected = true;
            mSelector.add(mClient);
        }
        else if (connected && mSelector.isReady(mClient))
        {
            receive();
        }
    }
}

void HostileServer::receive()
{
    std::array<char, 65536> buffer;
    std::size_t size = 0;
    if (mClient.receive(buffer.data(), buffer.size(), size) != sf::Socket::Done)
    {
        mSelector.remove(mClient);
        return;
    }
    std::lock_guard<std::mutex> lock(mMutex);
    mReceived.append(buffer.data(), size);
    Network::Packet packet;
    while (Network::Packet::extract(mReceived, packet) == Network::Packet::Extraction::Complete)
    {
        mReceived.erase(0, packet.getWireSize());
        if (packet.getChannel() == PlayerStream::OutgoingChannel)
            mStreamRecords.push_back(std::chrono::steady_clock::now());
        else if (isJoinRequest(packet))
            mJoinRequested = true;
    }
    mChanged.notify_all();
}

void HostileServer::send(const std::string& wire)
{
    mClient.send(wire.data(), wire.size());
}

} // namespace Testing
} // namespace QEL
