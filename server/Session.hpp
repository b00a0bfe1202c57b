#ifndef QEL_SERVER_SESSION_HPP
#define QEL_SERVER_SESSION_HPP

#include "server/ChatLimiter.hpp"
#include "server/PacketReader.hpp"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace QEL
{
namespace Hosting
{

class Server;
struct ServerOptions;

/// One client connection: reads and decodes its packets, hands each record to the server,
/// and writes what the server queues for it. Lives as long as an operation or the server holds it.
class Session : public std::enable_shared_from_this<Session>
{
public:
    using Clock = std::chrono::steady_clock;

    Session(Server& server, boost::asio::ip::tcp::socket socket, const ServerOptions& options);

    /// Starts reading and the idle watch.
    void start();

    /// Queues finished wire bytes; they leave at the server's next flush.
    void deliver(const std::string& bytes);

    /// Starts writing the queued bytes unless a write is under way (called by the server's flush).
    void flush();

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
    const std::string& getAddress() const;

    /// True when a chat line said now keeps within the chat rate limit.
    bool allowChat();

private:
    void read();
    void onRead(const boost::system::error_code& error, std::size_t size);
    /// Cuts and handles every complete packet; false once the session has ended.
    bool handleBuffered();
    void watchIdle(Clock::duration wait);
    void onIdleCheck(const boost::system::error_code& error);
    void onWritten(const boost::system::error_code& error);
    void halfClose();
    void end(const std::string& reason, bool tellServer);

    Server& mServer;
    boost::asio::ip::tcp::socket mSocket;
    boost::asio::steady_timer mIdleTimer;
    Clock::duration mIdleTimeout;
    Clock::time_point mLastActivity;
    PacketReader mReader;
    std::array<char, 4096> mReadBuffer;
    std::string mOutgoing;
    std::string mWriting;
    std::size_t mMaxBacklog;
    ChatLimiter mChat;
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
