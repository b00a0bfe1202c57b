#ifndef QEL_NETWORK_CLIENT_HPP
#define QEL_NETWORK_CLIENT_HPP

#include "ecs/Types.hpp"
#include "network/ConnectionState.hpp"
#include "network/ConsoleLog.hpp"
#include "network/Endpoint.hpp"
#include "network/MessageHandler.hpp"
#include "network/Packet.hpp"
#include "network/ReadThread.hpp"
#include "network/RetrySchedule.hpp"
#include "network/Socket.hpp"
#include "network/WriteThread.hpp"

#include <SFML/System/String.hpp>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace QEL
{
namespace Network
{

/// The one connection to the game server. Two worker threads receive and send; the main thread
/// calls update() once per game step to keep the connection alive and hand received packets to
/// the handlers of their channels. Components only build packets and call send().
/// A connection that fails or is lost is tried again in the background (RetrySchedule), never
/// blocking the step; the remote players of the lost connection go when the server lets us in again.
class Client
{
public:
    /// A client for the built-in server address (or the one QUELMOOR_SERVER names).
    Client();
    explicit Client(const Endpoint& server);
    ~Client();

    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    /// Connects, starts both workers, queues the join request and installs the Core channel.
    /// Does nothing while connecting or joined.
    void connect(const sf::String& userName);

    /// Once per game step: disconnects after a socket failure and schedules the next try, makes
    /// the try when it is due, sends keep-alives during a long silence and dispatches every
    /// packet received since the last step.
    void update();

    /// Queues a packet for the writer; packets over the client payload limit are not sent.
    /// Sent while no connection is up, a packet is lost.
    void send(const Packet& packet);

    /// Shares a world event (an EntityMessage) with the other players. One made while not joined
    /// is kept (up to `MaxUnsentEvents`) and sent once joined again, a few a second, so that
    /// what the player did offline reaches the others within the server's event rate.
    void sendWorldEvent(Tessaly::EntityId entity, const std::string& name);

    /// World events kept at most while not joined; more are not kept.
    static constexpr std::size_t MaxUnsentEvents = 256;

    /// Moves to `value`, except that a positive state never lowers another (Joined stays Joined).
    /// Becoming Joined removes the remote players of a lost connection.
    void setState(std::int32_t value);

    /// The server refused the join with this result: Failed, and whether a try follows depends on it.
    void refuseJoin(std::uint8_t result);
    std::int32_t getState() const;

    /// Installs the handler of a channel; a handler already there is replaced and destroyed.
    void setChannelHandler(std::uint8_t id, std::unique_ptr<MessageHandler> handler);

    /// The handler of a channel, or null.
    MessageHandler* getChannelHandler(std::uint8_t id) const;

    /// Where the handlers print the lines a server can cause at will.
    ConsoleLog& getConsole();

    /// Hands one packet to the handler of its channel. A packet without handler, or one whose
    /// handler throws, is dropped with one console line (a few of them a while, then their
    /// count): network data never ends the game.
    void dispatch(Packet& packet);

    /// Says goodbye when joined, closes the connection, destroys the handlers and joins both
    /// workers. No further try follows unless update() schedules one.
    void disconnect();

    /// Whether a try to connect again is waiting for its time.
    bool isRetryScheduled() const { return mRetryScheduled; }

    /// Clock time of the last step in which packets had arrived (microseconds).
    std::int64_t getLastReceived() const;

    /// Replaces the clock (microseconds) that times keep-alives; tests drive time with it.
    void setClock(std::function<std::int64_t()> clock);

    const Endpoint& getServer() const;

private:
    friend class ReadThread;
    friend class WriteThread;

    /// Sends a packet straight on the socket, one whole packet at a time, from any thread.
    sf::Socket::Status transmit(const Packet& packet);

    /// Checksums and sends a packet; the caller holds the send mutex.
    sf::Socket::Status sendNow(Packet packet);

    /// Wakes and ends both workers, then waits for them.
    void stopWorkers();

    /// Takes the remote players from the handlers of the ending connection; they stay in the
    /// world until the next join.
    void strandPlayers();

    /// On a connected socket: starts both workers, queues the join request and installs Core.
    void startSession();

    /// After a failed or lost connection: disconnects, then schedules the next try unless the
    /// server's refusal was final.
    void endConnection(std::int64_t now);

    /// Tells when the next try comes, or that none will.
    void scheduleRetry(std::int64_t now);

    /// Connects, waiting at most `limit` microseconds (a server that does not answer would
    /// otherwise hold the caller for the system's minutes); Error with ETIMEDOUT past it.
    sf::Socket::Status connectWithin(std::int64_t limit, int& error);

    /// Starts connecting again without waiting for the connection.
    void tryAgain(std::int64_t now);

    /// Looks whether the connect of a try has been made, failed or taken too long.
    void checkTry(std::int64_t now);

    /// A try that could not connect: `error` says why.
    void tryFailed(int error, std::int64_t now);

    /// Sends the oldest kept world event when joined and its time has come.
    void sendUnsentEvent(std::int64_t now);

    /// Keeps a line for the chat box until the next update(): the chat box may not exist yet.
    void notify(const std::string& text);

    /// Hands the kept lines to the chat box, and says so once the server has let us in.
    void tellPlayer();

    Socket mSocket;
    std::int32_t mState;
    Endpoint mServer;
    std::map<std::uint8_t, std::unique_ptr<MessageHandler>> mChannels;
    std::vector<std::unique_ptr<MessageHandler>> mReplaced; ///< kept alive until the packet that replaced them is handled
    std::int64_t mLastReceived;
    std::int64_t mNextKeepAlive;
    std::function<std::int64_t()> mClock;
    std::vector<std::string> mNotices;
    bool mToldJoined;
    ConsoleLog mConsole; ///< the lines a server can cause at will, held to a rate
    sf::String mUserName;
    RetrySchedule mRetries;
    bool mRetryScheduled;
    std::int64_t mNextTry;   ///< clock time of the scheduled try
    bool mTrying;            ///< a try's connect is under way
    std::int64_t mTryStart;
    std::uint8_t mRefusal;   ///< the server's last refusal of our join, 0 for none
    std::vector<Tessaly::EntityId> mStranded; ///< remote players of the lost connection, frozen where last seen
    std::deque<Packet> mUnsentEvents;         ///< world events made while not joined, oldest first
    std::int64_t mNextUnsentEvent;            ///< clock time at which the next of them may go
    std::mutex mSendMutex; ///< keeps the writer and the goodbye from interleaving on the socket
    ReadThread mReader;
    WriteThread mWriter;
};

} // namespace Network
} // namespace QEL

#endif
