#ifndef QEL_TESTS_E2E_OBSERVERCLIENT_HPP
#define QEL_TESTS_E2E_OBSERVERCLIENT_HPP

#include "plym/core/Vector3.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace QEL
{
namespace Network
{
class Packet;
}

namespace Testing
{

/// A silent player that joins the server and writes down everything it is told: who joins and
/// quits, where everyone moves, every chat line and world event. It never moves itself.
class ObserverClient
{
public:
    struct Move
    {
        Plym::Math::Vector3 position;
        Plym::Math::Vector3 speed;
    };

    struct ChatLine
    {
        std::uint32_t speaker;
        std::string text;
    };

    struct WorldEvent
    {
        std::uint32_t entity;
        std::string name;
    };

    /// Connects to the server on loopback and asks to join under the name.
    ObserverClient(std::uint16_t port, const std::string& name);
    ~ObserverClient();

    ObserverClient(const ObserverClient&) = delete;
    ObserverClient& operator=(const ObserverClient&) = delete;

    /// Waits for the server's welcome; false when refused or at the deadline.
    bool waitJoined(std::chrono::milliseconds deadline);

    /// The server's id of the player with this name, once the server has told about it.
    std::optional<std::uint32_t> waitForPlayer(const std::string& name, std::chrono::milliseconds deadline);

    /// Waits for a move of the player that meets the condition, among the moves from number
    /// `from` on (0 is the first move heard of), and returns it.
    std::optional<Move> waitForMove(std::uint32_t player, const std::function<bool(const Move&)>& condition,
                                    std::chrono::milliseconds deadline, std::size_t from = 0);

    /// How many moves of the player have arrived so far.
    std::size_t getMoveCount(std::uint32_t player) const;

    /// Waits until several moves in a row, from number `from` on, report the player standing
    /// still at the same place (nothing pushes him any more); the last of them.
    std::optional<Move> waitForStill(std::uint32_t player, std::chrono::milliseconds deadline, std::size_t from = 0);

    /// The player's latest move, waiting for one if none came yet.
    std::optional<Move> waitForLatestMove(std::uint32_t player, std::chrono::milliseconds deadline);

    /// Waits until at least `count` chat lines have arrived.
    bool waitForChat(std::size_t count, std::chrono::milliseconds deadline);

    /// Tells the server that something happened to a world object, as a player's client does.
    void sendWorldEvent(std::uint32_t entity, const std::string& name);

    bool waitForWorldEvent(std::uint32_t entity, const std::string& name, std::chrono::milliseconds deadline);

    bool waitForQuit(std::uint32_t player, std::chrono::milliseconds deadline);

    std::vector<ChatLine> getChat() const;
    std::vector<WorldEvent> getWorldEvents() const;

private:
    bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline);
    void read();
    void keepAlive();
    void handle(Network::Packet& packet);
    void handleCore(Network::Packet& packet);
    void handleStream(Network::Packet& packet);

    boost::asio::io_context mContext;
    boost::asio::ip::tcp::socket mSocket;
    boost::asio::steady_timer mKeepAliveTimer;
    std::array<char, 16384> mBuffer;
    std::string mReceived;
    std::string mKeepAlive;
    std::thread mThread;

    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    std::optional<bool> mAdmitted;
    std::map<std::uint8_t, std::uint8_t> mChannelTypes;
    std::map<std::uint32_t, std::string> mPlayers;
    std::map<std::uint32_t, std::vector<Move>> mMoves;
    std::vector<std::uint32_t> mQuits;
    std::vector<ChatLine> mChat;
    std::vector<WorldEvent> mWorldEvents;
};

} // namespace Testing
} // namespace QEL

#endif
