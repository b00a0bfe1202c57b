#ifndef QEL_SERVER_SERVER_HPP
#define QEL_SERVER_SERVER_HPP

#include "server/ClientRecord.hpp"
#include "server/InterestGrid.hpp"
#include "network/LogThrottle.hpp"
#include "server/ServerOptions.hpp"
#include "server/World.hpp"
#include "server/WriteSchedule.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace QEL
{
namespace Hosting
{

class Session;

/// The game server: accepts connections, admits players, relays what each does to the others
/// (movement to the players near it only), remembers world events for late joiners and keeps
/// quiet connections alive with heartbeats.
/// Everything runs on the one thread that calls run().
class Server
{
public:
    explicit Server(const ServerOptions& options);
    ~Server();

    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    /// Binds and listens; throws std::runtime_error when the address cannot be used.
    void start();

    /// Serves until stop(); returns once every connection is closed.
    void run();

    /// Ends run() from any thread (or a signal handler's completion).
    void stop();

    /// The port actually listened on (useful with port 0).
    std::uint16_t getPort() const;

    boost::asio::io_context& getContext();

    // Called by sessions.
    void handleRecord(Session& session, const ClientRecord& record);
    void handleClosed(Session& session, const std::string& reason);
    void requestFlush(Session& session);
    /// Relays a movement the session's pace lets through now.
    void relayMove(Session& session, const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);

private:
    void accept();
    void onAccepted(const boost::system::error_code& error, boost::asio::ip::tcp::socket socket);
    void beat();
    void shutdown();

    /// True when a new connection from `peer` keeps within the caps on connections not joined yet.
    bool admitPending(const std::string& peer);
    void releasePending(const std::string& peer);

    void join(Session& session, const std::string& name);
    void welcome(Session& session);
    void paceMove(Session& session, const ClientRecord& record);
    /// Tells the player and those that came into or left its area where the others are.
    void exchangeNews(Session& session, const InterestGrid::Change& change);
    /// Queues for `receiver` a PlayerMove of `player` at its last known position.
    void tellMovement(Session& receiver, std::uint32_t player, const Plym::Math::Vector3& speed);
    void relayChat(Session& session, const std::string& text);
    void relayEvent(Session& session, std::uint32_t entity, const std::string& name);
    /// Queues bytes for every player but `except`.
    void broadcast(const std::string& bytes, std::uint32_t except);
    /// Prints a console line through the log throttle; `kind` groups the lines it counts.
    void log(const std::string& kind, const std::string& line);
    void print(const std::vector<std::string>& lines) const;

    ServerOptions mOptions;
    boost::asio::io_context mContext;
    boost::asio::ip::tcp::acceptor mAcceptor;
    boost::asio::steady_timer mHeartbeat;
    boost::asio::steady_timer mAcceptRetry;
    World mWorld;
    std::map<Session*, std::shared_ptr<Session>> mConnections;
    InterestGrid mInterest;
    InterestGrid::Change mChange;  ///< kept to reuse its storage
    WriteSchedule mWrites;
    std::unordered_map<std::uint32_t, std::shared_ptr<Session>> mPlayers;
    std::size_t mPending;                            ///< connections not joined yet
    std::map<std::string, std::size_t> mPendingByPeer;
    Network::LogThrottle mLogThrottle;
    bool mStopped;
};

} // namespace Hosting
} // namespace QEL

#endif
