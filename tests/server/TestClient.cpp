#include "tests/server/TestClient.hpp"

#include <boost/asio/connect.hpp>
#include <boost/asio/write.hpp>

#include <poll.h>

#include <stdexcept>

namespace QEL
{
namespace Testing
{

namespace
{

using Clock = std::chrono::steady_clock;

Network::Packet on(std::uint8_t channel)
{
    Network::Packet packet;
    packet.setChannel(channel);
    return packet;
}

void decodeCore(Network::Packet& packet, Received& record)
{
    packet.readU8(record.kind).readU16(record.code);
    if (record.kind == 1 && record.code == 1)
        packet.readU8(record.byte);
    else if (record.kind == 2 && record.code == 16)
        packet.readU8(record.openedId).readU8(record.openedType).readU8(record.openedFlag);
    else if (record.kind == 2 && record.code == 17)
        packet.readU8(record.byte);
    else if (record.kind == 2 && record.code == 0xBEEF)
        packet.readU32(record.id).readStr8(record.text);
}

void decodeStream(Network::Packet& packet, Received& record)
{
    packet.readU8(record.kind).readU32(record.id);
    if (record.kind == 0)
        packet.readStr8(record.text).readVec3(record.position).readU8(record.byte);
    else if (record.kind == 2)
        packet.readVec3(record.position).readVec3(record.speed);
}

} // namespace

Received decode(Network::Packet packet)
{
    Received record;
    record.channel = packet.getChannel();
    try
    {
        if (record.channel == 0)
            decodeCore(packet, record);
        else if (record.channel == 1)
            decodeStream(packet, record);
        else if (record.channel == 2)
            packet.readU32(record.id).readStr16(record.text);
        record.exact = packet.getRemaining() == 0;
    }
    catch (const std::runtime_error&)
    {
        record.exact = false;
    }
    return record;
}

TestClient::TestClient(std::uint16_t port, int receiveBuffer, const std::string& from) : mSocket(mContext), mEnded(false)
{
    mSocket.open(boost::asio::ip::tcp::v4());
    mSocket.bind(boost::asio::ip::tcp::endpoint(boost::asio::ip::make_address(from), 0));
    if (receiveBuffer > 0)
        mSocket.set_option(boost::asio::socket_base::receive_buffer_size(receiveBuffer));
    mSocket.connect(boost::asio::ip::tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
    mSocket.set_option(boost::asio::ip::tcp::no_delay(true));
}

void TestClient::send(Network::Packet packet)
{
    packet.computeChecksum();
    sendRaw(packet.serialize());
}

void TestClient::sendRaw(const std::string& bytes)
{
    boost::system::error_code ignored;
    boost::asio::write(mSocket, boost::asio::buffer(bytes), ignored);
}

void TestClient::sendJoin(const std::string& name)
{
    Network::Packet packet = on(0);
    packet.writeU8(0).writeU16(1).writeStr8(name);
    send(packet);
}

void TestClient::sendMove(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    sendRaw(moveBytes(position, speed));
}

std::string TestClient::moveBytes(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    Network::Packet packet = on(1);
    packet.writeU8(2);
    packet.writeF32(position.x).writeF32(position.y).writeF32(position.z);
    packet.writeF32(speed.x).writeF32(speed.y).writeF32(speed.z);
    packet.computeChecksum();
    return packet.serialize();
}

void TestClient::sendChat(const std::string& text)
{
    Network::Packet packet = on(2);
    packet.writeStr16(text);
    send(packet);
}

void TestClient::sendEntityMessage(std::uint32_t entity, const std::string& name)
{
    Network::Packet packet = on(0);
    packet.writeU8(0).writeU16(0xBEEF).writeU32(entity).writeStr8(name);
    send(packet);
}

void TestClient::sendKeepAlive()
{
    Network::Packet packet = on(0);
    packet.writeU8(0).writeU16(0xBEA7);
    send(packet);
}

void TestClient::sendLeave()
{
    Network::Packet packet = on(0);
    packet.writeU8(0).writeU16(0xDEAD);
    send(packet);
}

bool TestClient::join(const std::string& name)
{
    sendJoin(name);
    const auto reply = waitFor([](const Received& record) { return record.isJoinReply(); });
    return reply && reply->byte == 0;
}

std::optional<Received> TestClient::next(Deadline deadline)
{
    const auto end = Clock::now() + deadline;
    for (;;)
    {
        Network::Packet packet;
        const auto extraction = Network::Packet::extract(mBuffer, packet);
        if (extraction == Network::Packet::Extraction::BadChecksum)
            throw std::runtime_error("server sent a packet with a bad checksum");
        if (extraction == Network::Packet::Extraction::Complete)
        {
            mBuffer.erase(0, packet.getWireSize());
            return decode(packet);
        }
        const auto left = std::chrono::duration_cast<Deadline>(end - Clock::now());
        if (left.count() <= 0 || !fill(left))
            return std::nullopt;
    }
}

std::optional<Received> TestClient::waitFor(const std::function<bool(const Received&)>& match, Deadline deadline,
                                            bool keepAlive)
{
    const auto end = Clock::now() + deadline;
    const Deadline slice = keepAlive ? Deadline(50) : deadline;
    while (Clock::now() < end)
    {
        const auto record = next(std::min(slice, std::chrono::duration_cast<Deadline>(end - Clock::now())));
        if (record && match(*record))
            return record;
        if (mEnded)
            return std::nullopt;
        if (!record && keepAlive)
            sendKeepAlive();
    }
    return std::nullopt;
}

bool TestClient::waitClosed(Deadline deadline)
{
    const auto end = Clock::now() + deadline;
    while (!mEnded && Clock::now() < end)
    {
        mBuffer.clear();
        fill(std::chrono::duration_cast<Deadline>(end - Clock::now()));
    }
    return mEnded;
}

void TestClient::close()
{
    boost::system::error_code ignored;
    mSocket.close(ignored);
}

bool TestClient::fill(Deadline wait)
{
    if (mEnded)
        return false;
    pollfd descriptor{mSocket.native_handle(), POLLIN, 0};
    if (::poll(&descriptor, 1, static_cast<int>(wait.count())) <= 0)
        return true;
    char chunk[8192];
    boost::system::error_code error;
    const std::size_t size = mSocket.read_some(boost::asio::buffer(chunk), error);
    if (error)
    {
        mEnded = true;
        return false;
    }
    mBuffer.append(chunk, size);
    return true;
}

} // namespace Testing
} // namespace QEL
