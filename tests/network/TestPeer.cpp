#include "tests/network/TestPeer.hpp"

#include <gtest/gtest.h>

namespace
{

const sf::Time Deadline = sf::seconds(10);

} // namespace

TestPeer::TestPeer()
{
    if (mListener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) != sf::Socket::Done)
        ADD_FAILURE() << "cannot listen on the loopback interface";
}

QEL::Network::Endpoint TestPeer::getEndpoint() const
{
    return QEL::Network::Endpoint(sf::IpAddress::LocalHost, mListener.getLocalPort());
}

bool TestPeer::accept()
{
    sf::SocketSelector selector;
    selector.add(mListener);
    if (!selector.wait(Deadline) || mListener.accept(mSocket) != sf::Socket::Done)
        return false;
    mBuffer.clear();
    mSelector.clear();
    mSelector.add(mSocket);
    return true;
}

void TestPeer::send(QEL::Network::Packet packet)
{
    sendRaw(wireBytes(packet));
}

void TestPeer::sendRaw(const std::string& bytes)
{
    ASSERT_EQ(mSocket.send(bytes.data(), bytes.size()), sf::Socket::Done);
}

bool TestPeer::receive(QEL::Network::Packet& packet)
{
    for (;;)
    {
        if (QEL::Network::Packet::extractPacket(mBuffer, packet))
        {
            mBuffer.erase(0, packet.getWireSize());
            return true;
        }
        if (!fill())
            return false;
    }
}

bool TestPeer::receiveRaw(std::string& bytes, std::size_t count)
{
    while (mBuffer.size() < count)
        if (!fill())
            return false;
    bytes = mBuffer.substr(0, count);
    mBuffer.erase(0, count);
    return true;
}

bool TestPeer::waitForClose()
{
    for (;;)
    {
        if (!mSelector.wait(Deadline))
            return false;
        char chunk[4096];
        std::size_t received = 0;
        if (mSocket.receive(chunk, sizeof(chunk), received) != sf::Socket::Done)
            return true;
    }
}

void TestPeer::close()
{
    mSelector.clear();
    mSocket.disconnect();
    mListener.close();
}

void TestPeer::drop()
{
    mSelector.clear();
    mSocket.disconnect();
}

bool TestPeer::fill()
{
    if (!mSelector.wait(Deadline))
        return false;
    char chunk[4096];
    std::size_t received = 0;
    if (mSocket.receive(chunk, sizeof(chunk), received) != sf::Socket::Done)
        return false;
    mBuffer.append(chunk, received);
    return true;
}

QEL::Network::Packet makePacket(std::uint8_t channel, const std::string& payload)
{
    QEL::Network::Packet packet;
    packet.setChannel(channel);
    for (char byte : payload)
        packet.writeU8(static_cast<std::uint8_t>(byte));
    return packet;
}

std::string bytes(std::initializer_list<int> values)
{
    std::string result;
    for (int value : values)
        result.push_back(static_cast<char>(value));
    return result;
}

std::string wireBytes(QEL::Network::Packet packet)
{
    packet.computeChecksum();
    return packet.serialize();
}
