#ifndef QEL_TESTS_NETWORK_TESTPEER_HPP
#define QEL_TESTS_NETWORK_TESTPEER_HPP

#include "network/Endpoint.hpp"
#include "network/Packet.hpp"

#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <initializer_list>
#include <string>

/// A stand-in game server on the loopback interface: accepts one client and exchanges
/// packets with it. Every wait ends after a generous deadline so a broken client fails
/// the test instead of hanging it.
class TestPeer
{
public:
    TestPeer();

    /// Where the client should connect.
    QEL::Network::Endpoint getEndpoint() const;

    /// Takes the client's connection; false when none arrived.
    bool accept();

    /// Sends a packet with its checksum computed.
    void send(QEL::Network::Packet packet);

    /// Sends bytes exactly as given, in one call.
    void sendRaw(const std::string& bytes);

    /// The next whole packet from the client; false when the connection closed or nothing came.
    bool receive(QEL::Network::Packet& packet);

    /// Exactly `count` bytes as they arrived; false when fewer came.
    bool receiveRaw(std::string& bytes, std::size_t count);

    /// True once the client has closed the connection (anything still unread is discarded).
    bool waitForClose();

    /// Stops listening and closes the connection to the client.
    void close();

    /// Closes the connection to the client and goes on listening, like a server restarted at once.
    void drop();

private:
    /// Waits for more bytes from the client; false on close or time-out.
    bool fill();

    sf::TcpListener mListener;
    sf::TcpSocket mSocket;
    sf::SocketSelector mSelector;
    std::string mBuffer;
};

/// A packet on `channel` holding `payload`.
QEL::Network::Packet makePacket(std::uint8_t channel, const std::string& payload);

/// A byte string from numbers 0-255.
std::string bytes(std::initializer_list<int> values);

/// The wire form of a packet, checksum included.
std::string wireBytes(QEL::Network::Packet packet);

#endif
