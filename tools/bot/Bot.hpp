#ifndef QEL_BOT_BOT_HPP
#define QEL_BOT_BOT_HPP

#include "plym/core/Vector3.hpp"

#include <boost/asio/ip/tcp.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <string>

namespace QEL
{
namespace Network
{
class Packet;
}

namespace Bots
{

class BotObserver;
class LandMap;

/// What one bot sent and received.
struct BotStats
{
    std::uint64_t joins = 0;
    std::uint64_t movesSent = 0;
    std::uint64_t linesSent = 0;
    std::uint64_t movesReceived = 0;
    std::uint64_t linesReceived = 0;
    std::uint64_t playersSeen = 0;  ///< PlayerInfo records
    std::uint64_t quitsSeen = 0;
    std::uint64_t worldEvents = 0;
    std::uint64_t heartbeats = 0;
};

/// One headless player: joins under its name, walks between random points near the world's
/// centre (or, given the land map, all over the island on land) at walking speed and streams its
/// movement like the game client, every third step.
class Bot
{
public:
    enum class State
    {
        Connecting,
        Joining,
        Joined,
        Refused,
        Closed
    };

    /// Length of one update step, as in the client: 1/33 s.
    static constexpr double StepSeconds = 1.0 / 33.0;
    static constexpr float WalkSpeed = 270.f;
    /// The bots stay within this distance of the world's centre, on land.
    static constexpr float RoamRadius = 4 * 90.f;
    /// Longest leg of a walk over the island.
    static constexpr float SpreadLeg = 2000.f;

    /// With a land map (which must outlive the bot) the bot starts anywhere on land and never
    /// sets foot in water; without one it stays near the centre.
    Bot(boost::asio::io_context& context, const std::string& name, std::uint32_t seed, bool chat, bool quiet,
        const LandMap* land = nullptr);

    Bot(const Bot&) = delete;
    Bot& operator=(const Bot&) = delete;

    void connect(const boost::asio::ip::tcp::endpoint& server);

    /// One update step: walk, and send what is due.
    void step();

    /// Says goodbye and closes once it is written.
    void leave();

    /// Closes at once.
    void close();

    void setObserver(BotObserver* observer);

    /// Says a line every `steps` steps instead of now and then; 0 goes back to now and then.
    void setChatInterval(unsigned steps);

    State getState() const;
    /// The socket is still open (a leaving bot stays connected until its goodbye is written).
    bool isConnected() const;
    const std::string& getName() const;
    const BotStats& getStats() const;
    const Plym::Math::Vector3& getPosition() const;

private:
    void onConnected(const boost::system::error_code& error);
    void read();
    void onRead(const boost::system::error_code& error, std::size_t size);
    void handle(Network::Packet& packet);
    void handleCore(Network::Packet& packet);
    void handleStream(Network::Packet& packet);
    void walk();
    void chooseTarget();
    void sendMove();
    void say();
    void send(Network::Packet& packet);
    void writeNext();
    void lost(const std::string& why);
    void print(const std::string& line) const;

    boost::asio::ip::tcp::socket mSocket;
    std::string mName;
    std::mt19937 mRandom;
    bool mChat;
    unsigned mChatInterval;   ///< steps between lines, 0 for random lines
    unsigned mChatCountdown;
    bool mQuiet;
    const LandMap* mLand;
    BotObserver* mObserver;
    State mState;
    BotStats mStats;

    Plym::Math::Vector3 mPosition;
    Plym::Math::Vector3 mSpeed;
    Plym::Math::Vector3 mTarget;
    int mRestSteps;      ///< steps left to stand still before the next leg
    int mSendCounter;

    std::map<std::uint8_t, std::uint8_t> mChannelTypes;
    std::array<char, 16384> mReadBuffer;
    std::string mReceived;
    std::string mOutgoing;
    std::string mWriting;
    bool mWriteBusy;
    bool mLeaving;
};

} // namespace Bots
} // namespace QEL

#endif
