#ifndef QEL_TESTS_SERVER_TESTCLIENT_HPP
#define QEL_TESTS_SERVER_TESTCLIENT_HPP

#include "network/Packet.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace QEL
{
namespace Testing
{

/// One record from the server, decoded by its channel (0 Core, 1 PlayerStream, 2 Chat).
struct Received
{
    std::uint8_t channel = 0;
    std::uint8_t kind = 0;
    std::uint16_t code = 0;
    std::uint8_t byte = 0;        ///< JoinReply result, ChannelNotice byte, PlayerInfo joined flag
    std::uint8_t openedId = 0;    ///< OpenChannel
    std::uint8_t openedType = 0;
    std::uint8_t openedFlag = 0;
    std::uint32_t id = 0;         ///< player, speaker or entity
    std::string text;             ///< player name, chat text or message name
    Plym::Math::Vector3 position;
    Plym::Math::Vector3 speed;
    bool exact = false;           ///< the payload held exactly the record's fields

    bool isJoinReply() const { return channel == 0 && kind == 1 && code == 1; }
    bool isOpenChannel() const { return channel == 0 && kind == 2 && code == 16; }
    bool isHeartbeat() const { return channel == 0 && kind == 2 && code == 17; }
    bool isEntityMessage() const { return channel == 0 && kind == 2 && code == 0xBEEF; }
    bool isPlayerInfo() const { return channel == 1 && kind == 0; }
    bool isPlayerQuit() const { return channel == 1 && kind == 1; }
    bool isPlayerMove() const { return channel == 1 && kind == 2; }
    bool isChat() const { return channel == 2; }
};

/// A bare client of the test: blocking socket, records built and read with Packet.
class TestClient
{
public:
    using Deadline = std::chrono::milliseconds;
    static constexpr Deadline Patience{10000};

    /// Connects to the server on loopback; a non-zero receiveBuffer caps the socket's receive buffer.
    /// `from` is the local address to connect from (any of 127.0.0.0/8 stands for another host).
    explicit TestClient(std::uint16_t port, int receiveBuffer = 0, const std::string& from = "127.0.0.1");

    void send(Network::Packet packet);
    void sendRaw(const std::string& bytes);
    void sendJoin(const std::string& name);
    void sendMove(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);
    /// A movement record as wire bytes, so that many can go out in one write.
    static std::string moveBytes(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);
    void sendChat(const std::string& text);
    void sendEntityMessage(std::uint32_t entity, const std::string& name);
    void sendKeepAlive();
    void sendLeave();

    /// Sends the join request and reads the reply; true when admitted.
    bool join(const std::string& name);

    /// The next record; nothing when the deadline passes or the connection ends first.
    std::optional<Received> next(Deadline deadline = Patience);

    /// Reads records until one matches. With keepAlive, sends a KeepAlive while waiting.
    std::optional<Received> waitFor(const std::function<bool(const Received&)>& match, Deadline deadline = Patience,
                                    bool keepAlive = false);

    /// True once the server has closed the connection.
    bool waitClosed(Deadline deadline = Patience);

    void close();

private:
    /// Reads whatever arrives within `wait`; false when the connection ended.
    bool fill(Deadline wait);

    boost::asio::io_context mContext;
    boost::asio::ip::tcp::socket mSocket;
    std::string mBuffer;
    bool mEnded;
};

/// Decodes one server record.
Received decode(Network::Packet packet);

} // namespace Testing
} // namespace QEL

#endif
