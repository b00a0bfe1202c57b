#ifndef QEL_SERVER_SESSION_HPP
#define QEL_SERVER_SESSION_HPP

#include "server/ChatLimiter.hpp"
#include "server/PacketReader.hpp"
#include "server/TokenBucket.hpp"
#include "server/World.hpp"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace QEL
{
namespace Hosting
{

class Server;
struct ServerOptions;

/// One client connection: reads and decodes its packets, hands each record to the server,
/// paces what the player streams, and writes what the server queues for it. Lives as long as
/// an operation or the server holds it.
class Session : public std::enable_shared_from_this<Session>
{
public:
    using Clock = std::chrono::steady_clock;

    /// What to do with a movement record the player sent.
    enum class Pace
    {
        Now,    ///< relay it
        Later,  ///< kept as the pending move; the server is handed the newest when the pace allows
        Flood   ///< the player sends far beyond a client's rate: drop it
    };

    Session(Server& server, boost::asio::ip::tcp::socket socket, const ServerOptions& options);

    /// Starts reading, the join deadline and the idle watch.
    void start();

    /// Queues finished wire bytes; they leave at the server's next flush.
    void deliver(const std::string& bytes);

    /// Queues a player's movement record; one still queued for the same player is overwritten,
    /// so a slow reader gets the newest position instead of a growing backlog.
    void deliverMove(std::uint32_t player, const std::string& bytes);

    /// Sends every world event in `events` (which must outlive the session), one slice per
    /// write as the socket takes them, outside the backlog limit.
    void replay(const std::vector<World::Event>& events);

    /// Starts writing the queued bytes unless a write is under way (called by the server's flush).
    void flush();

    /// When the last write began; the next one waits for the server's flush interval after it.
    Clock::time_point getLastWrite() const;

    /// The client said goodbye: ends the connection, the server learns of it without a reason.
    void leave();

    /// Ends the connection at once; the server learns of it with the reason.
    void drop(const std::string& reason);

    /// Ends the connection once every queued byte is written (used after refusing a join).
    void finish();

    /// Closes without telling the server (used while the server itself shuts down).
    void shutdown();

    void setPlayer(std::uint32_t player, const std::string& name);
    bool isJoined() const;
    std::uint32_t getPlayer() const;
    const std::string& getName() const;
    /// Remote address and port, for the console.
    const std::string& getAddress() const;
    /// Remote address alone, for the caps on connections per address.
    const std::string& getPeer() const;

    /// True when a chat line said now keeps within the chat rate limit.
    bool allowChat();

    /// True when a world event caused now keeps within the player's event rate.
    bool allowEvent();

    /// Paces a movement record at the player's stream rate.
    Pace paceMove(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);

private:
    void read();
    void onRead(const boost::system::error_code& error, std::size_t size);
    /// Cuts and handles every complete packet; false once the session has ended.
    bool handleBuffered();
    void watchIdle(Clock::duration wait);
    void onIdleCheck(const boost::system::error_code& error);
    void onJoinDeadline(const boost::system::error_code& error);
    void armPace(Clock::duration wait);
    void onPace(const boost::system::error_code& error);
    /// Appends to the output; false when the session is closed or its backlog is full.
    bool queue(const std::string& bytes);
    void appendReplay();
    void onWritten(const boost::system::error_code& error);
    void halfClose();
    void end(const std::string& reason, bool tellServer);

    Server& mServer;
    boost::asio::ip::tcp::socket mSocket;
    boost::asio::steady_timer mIdleTimer;
    boost::asio::steady_timer mJoinTimer;
    boost::asio::steady_timer mPaceTimer;
    Clock::duration mIdleTimeout;
    Clock::duration mJoinTimeout;
    Clock::time_point mLastActivity;
    Clock::time_point mLastWrite;
    PacketReader mReader;
    std::array<char, 4096> mReadBuffer;
    std::string mOutgoing;
    std::string mWriting;
    /// Where each player's move sits in mOutgoing, sorted by player: kept flat so that the
    /// hundreds of moves a connection gets each second cost no allocation.
    std::vector<std::pair<std::uint32_t, std::size_t>> mMoveSlots;
    const std::vector<World::Event>* mReplay;          ///< events still to send, from mReplayNext to mReplayEnd
    std::size_t mReplayNext;
    std::size_t mReplayEnd;
    std::size_t mMaxBacklog;
    ChatLimiter mChat;
    TokenBucket mEvents;
    TokenBucket mStream;
    TokenBucket mFlood;
    bool mMovePending;
    bool mPaceArmed;
    Plym::Math::Vector3 mPendingPosition;
    Plym::Math::Vector3 mPendingSpeed;
    std::string mPeer;
    std::string mAddress;
    std::uint32_t mPlayer;
    std::string mName;
    bool mOpen;
    bool mFinishing;      ///< no more records are taken; close once the output is written
    bool mWriteBusy;
    bool mFlushRequested;
    bool mOverflowed;     ///< the backlog limit was hit; the drop is on its way
};

} // namespace Hosting
} // namespace QEL

#endif
