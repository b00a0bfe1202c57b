#ifndef QEL_NETWORK_CLIENT_HPP
#define QEL_NETWORK_CLIENT_HPP

#include "network/ConnectionState.hpp"
#include "network/ConsoleLog.hpp"
#include "network/Endpoint.hpp"
#include "network/MessageHandler.hpp"
#include "network/Packet.hpp"
#include "network/ReadThread.hpp"
#include "network/Socket.hpp"
#include "network/WriteThread.hpp"

#include <SFML/System/String.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace QEL
{
namespace Network
{

/// The one connection to the game server. Two worker threads receive and send; the main thread
/// calls update() once per game step to keep the connection alive and hand received packets to
/// the handlers of their channels. Components only build packets and call send().
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

    /// Once per game step: disconnects after a socket failure, sends keep-alives during a long
    /// silence and dispatches every packet received since the last step.
    void update();

    /// Queues a packet for the writer; packets over the client payload limit are not sent.
    void send(const Packet& packet);

    /// Moves to `value`, except that a positive state never lowers another (Joined stays Joined).
    void setState(std::int32_t value);
    std::int32_t getState() const;

    /// Installs the handler of a channel; a handler already there is replaced and destroyed.
    void setChannelHandler(std::uint8_t id, std::unique_ptr<MessageHandler> handler);

    /// The handler of a channel, or null.
    MessageHandler* getChannelHandler(std::uint8_t id) const;

    /// Hands one packet to the handler of its channel. A packet without handler, or one whose
    /// handler throws, is dropped with one console line (a few of them a while, then their
    /// count): network data never ends the game.
    void dispatch(Packet& packet);

    /// Says goodbye when joined, closes the connection, destroys the handlers and joins both workers.
    void disconnect();

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
    ConsoleLog mConsole; ///< the lines of dropped packets, which a server can cause at will
    std::mutex mSendMutex; ///< keeps the writer and the goodbye from interleaving on the socket
    ReadThread mReader;
    WriteThread mWriter;
};

} // namespace Network
} // namespace QEL

#endif
