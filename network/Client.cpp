#include "network/Client.hpp"

#include "network/Protocol.hpp"
#include "network/ServerAddress.hpp"
#include "network/channels/Core.hpp"
#include "plym/core/ClockImpl.hpp"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <exception>
#include <iostream>
#include <thread>

namespace QEL
{
namespace Network
{
namespace
{

constexpr std::int64_t KeepAliveSilence = 8000000;
constexpr std::int64_t KeepAliveInterval = 10000000;

// Kept world events go one per this interval once joined: below the server's rate of four a
// second, so that none is refused.
constexpr std::int64_t UnsentEventSpacing = 300000;

// How long a try waits for the server to answer its connect before it counts as failed.
constexpr std::int64_t TryTimeout = 10000000;

// How long the goodbye waits for a send in progress; a writer stuck on a peer that reads
// nothing must not keep disconnect() from returning.
constexpr std::chrono::milliseconds GoodbyeWait(500);

// Polls rather than using a timed mutex, whose timed lock ThreadSanitizer cannot follow.
bool lockWithin(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!lock.try_lock())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

/// "host:port" as the player gave it.
std::string describe(const Endpoint& server)
{
    return server.address.toString() + ":" + std::to_string(server.port);
}

/// Why a connection to `server` could not be made, from the error the connect left behind.
std::string describeFailure(int error, const Endpoint& server)
{
    switch (error)
    {
        case ECONNREFUSED:
            return "Connection failed: " + describe(server) + " refused it (is the server running?)";
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ETIMEDOUT:
            return "Connection failed: " + describe(server) + " is unreachable";
        default:
            return "Connection failed: " + describe(server) + ": " + std::strerror(error);
    }
}

} // namespace

Client::Client() :
Client(ServerAddress::resolve())
{
}

Client::Client(const Endpoint& server) :
mState(Idle),
mServer(server),
mLastReceived(0),
mNextKeepAlive(0),
mClock(&Plym::Time::ClockImpl::now),
mToldJoined(false),
mRetryScheduled(false),
mNextTry(0),
mTrying(false),
mTryStart(0),
mRefusal(0),
mNextUnsentEvent(0),
mReader(*this),
mWriter(*this)
{
}

Client::~Client()
{
    disconnect();
}

void Client::connect(const sf::String& userName)
{
    if (mState == Connecting || mState == Joined)
        return;
    mUserName = userName;
    mRetries.reset();
    mRetryScheduled = false;
    mLastReceived = mClock();
    stopWorkers();
    mState = Connecting;
    mToldJoined = false;
    mRefusal = 0;
    notify("Connecting to " + describe(mServer) + "...");

    int error = 0;
    if (connectWithin(TryTimeout, error) != sf::Socket::Done)
    {
        notify(describeFailure(error, mServer));
        mState = Failed;
        // Closed, so that the workers fail at once and the next try is scheduled.
        mSocket.disconnect();
    }
    mSocket.setBlocking(true);
    startSession();
}

void Client::update()
{
    const std::int64_t now = mClock();
    if (mTrying)
        checkTry(now);
    if (mReader.hasFailed() || mWriter.hasFailed())
        endConnection(now);
    else if (mRetryScheduled && now >= mNextTry)
        tryAgain(now);

    if (now > mNextKeepAlive && now - mLastReceived > KeepAliveSilence)
    {
        send(Channels::Core::makeKeepAlive());
        mNextKeepAlive = now + KeepAliveInterval;
    }
    // Only what is taken from the reader counts as received: packets may land between
    // a look at the reader and the poll.
    Packet packet;
    while (mReader.poll(packet))
    {
        mLastReceived = now;
        mNextKeepAlive = now;
        dispatch(packet);
    }
    sendUnsentEvent(now);
    tellPlayer();
    mConsole.flush();
}

void Client::send(const Packet& packet)
{
    if (packet.getLength() > Packet::MaxClientPayload)
    {
        std::printf("Packet of %u bytes not sent: the server accepts at most %u\n",
                    static_cast<unsigned>(packet.getLength()), static_cast<unsigned>(Packet::MaxClientPayload));
        return;
    }
    mWriter.push(packet);
}

void Client::sendWorldEvent(Tessaly::EntityId entity, const std::string& name)
{
    const Packet packet = Channels::Core::makeEntityMessage(entity, name);
    // Events kept earlier go first, so that the others see them in the order they were made.
    if (mState == Joined && mUnsentEvents.empty() && mWriter.push(packet))
        return;
    if (mUnsentEvents.size() < MaxUnsentEvents)
        mUnsentEvents.push_back(packet);
    else
        mConsole.say("unsent event", "World event '" + name + "' of entity " + std::to_string(entity) +
                                         " not kept: " + std::to_string(MaxUnsentEvents) + " wait for the server already");
}

void Client::sendUnsentEvent(std::int64_t now)
{
    if (mState != Joined || mUnsentEvents.empty() || now < mNextUnsentEvent)
        return;
    if (mWriter.push(mUnsentEvents.front()))
    {
        mUnsentEvents.pop_front();
        mNextUnsentEvent = now + UnsentEventSpacing;
    }
}

void Client::setState(std::int32_t value)
{
    if (0 < value && value < mState)
        return;
    if (value == Joined && mState != Joined)
    {
        // Before the server's first player record: nobody stands in the world twice.
        mRetries.reset();
        mRefusal = 0;
        if (!mStranded.empty())
            std::cout << "Removed " << mStranded.size() << " players of the lost connection" << std::endl;
        MessageHandler::removeEntities(mStranded);
        mStranded.clear();
    }
    mState = value;
}

void Client::refuseJoin(std::uint8_t result)
{
    mRefusal = result;
    setState(Failed);
}

std::int32_t Client::getState() const
{
    return mState;
}

void Client::setChannelHandler(std::uint8_t id, std::unique_ptr<MessageHandler> handler)
{
    std::unique_ptr<MessageHandler>& slot = mChannels[id];
    // The handler being replaced may be the one that is running right now (a channel reopened
    // from its own packet), so it lives on until that packet is handled.
    if (slot)
        mReplaced.push_back(std::move(slot));
    slot = std::move(handler);
}

MessageHandler* Client::getChannelHandler(std::uint8_t id) const
{
    const auto it = mChannels.find(id);
    return it == mChannels.end() ? nullptr : it->second.get();
}

ConsoleLog& Client::getConsole()
{
    return mConsole;
}

void Client::dispatch(Packet& packet)
{
    const int channel = packet.getChannel();
    MessageHandler* handler = getChannelHandler(packet.getChannel());
    if (!handler)
    {
        mConsole.say("dropped packet", "Dropped a packet on channel " + std::to_string(channel) + ": no handler");
        return;
    }
    try
    {
        handler->handle(packet, mServer);
    }
    catch (const std::exception& error)
    {
        mConsole.say("dropped packet", "Dropped a packet on channel " + std::to_string(channel) + ": " + error.what());
    }
    mReplaced.clear();
}

void Client::disconnect()
{
    {
        std::unique_lock<std::mutex> lock(mSendMutex, std::defer_lock);
        if (mState >= Joined && lockWithin(lock, GoodbyeWait))
        {
            // The goodbye never waits for a peer that has stopped reading.
            mSocket.setBlocking(false);
            sendNow(Channels::Core::makeLeave());
        }
        // Shut in every state, so that no worker stays blocked on the socket.
        mSocket.shutdown();
    }
    mState = Idle;
    mRetryScheduled = false;
    mTrying = false;
    strandPlayers();
    mChannels.clear();
    mReplaced.clear();
    stopWorkers();
}

std::int64_t Client::getLastReceived() const
{
    return mLastReceived;
}

void Client::setClock(std::function<std::int64_t()> clock)
{
    mClock = std::move(clock);
}

const Endpoint& Client::getServer() const
{
    return mServer;
}

sf::Socket::Status Client::transmit(const Packet& packet)
{
    std::lock_guard<std::mutex> lock(mSendMutex);
    return sendNow(packet);
}

sf::Socket::Status Client::sendNow(Packet packet)
{
    packet.computeChecksum();
    const std::string bytes = packet.serialize();
    std::size_t sent = 0;
    return mSocket.send(bytes.data(), bytes.size(), sent);
}

void Client::notify(const std::string& text)
{
    mNotices.push_back(text);
}

void Client::tellPlayer()
{
    if (mState == Joined && !mToldJoined)
    {
        mToldJoined = true;
        notify("Joined " + describe(mServer));
    }
    for (const std::string& notice : mNotices)
        MessageHandler::tell(notice);
    mNotices.clear();
}

void Client::strandPlayers()
{
    std::vector<Tessaly::EntityId> players;
    for (auto& channel : mChannels)
    {
        for (Tessaly::EntityId entity : channel.second->releaseEntities())
            players.push_back(entity);
    }
    // A server that shows players but never lets us in leaves only its last connection's.
    if (players.empty())
        return;
    MessageHandler::removeEntities(mStranded);
    mStranded = std::move(players);
}

void Client::startSession()
{
    mReader.start();
    mWriter.start();
    send(Channels::Core::makeJoinRequest(mUserName));
    setChannelHandler(0, std::make_unique<Channels::Core>(*this));
}

void Client::endConnection(std::int64_t now)
{
    // A refused connection or join has already been told.
    if (mState >= Connecting)
        notify("Connection lost");
    disconnect();
    scheduleRetry(now);
}

void Client::scheduleRetry(std::int64_t now)
{
    const std::uint8_t refusal = mRefusal;
    mRefusal = 0;
    if (!mRetries.allowsRetry(refusal))
    {
        notify(refusal == Protocol::JoinNameTaken ? "The name stays taken: no more tries to connect" : "No more tries to connect");
        return;
    }
    const std::int64_t delay = mRetries.nextDelay();
    mRetryScheduled = true;
    mNextTry = now + delay;
    notify("Trying to connect again in " + std::to_string(delay / 1000000) + " seconds");
}

sf::Socket::Status Client::connectWithin(std::int64_t limit, int& error)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::microseconds(limit);
    sf::Socket::Status status = mSocket.startConnect(mServer, error);
    while (status == sf::Socket::NotReady)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
        {
            error = ETIMEDOUT;
            return sf::Socket::Error;
        }
        status = mSocket.checkConnect(error, static_cast<int>(left.count()));
    }
    return status;
}

void Client::tryAgain(std::int64_t now)
{
    mRetryScheduled = false;
    std::cout << "Reconnecting to " << describe(mServer) << " (try " << mRetries.getTries() << ")..." << std::endl;
    stopWorkers();
    mState = Connecting;
    mToldJoined = false;
    int error = 0;
    const sf::Socket::Status status = mSocket.startConnect(mServer, error);
    if (status == sf::Socket::Error)
        return tryFailed(error, now);
    mTrying = true;
    mTryStart = now;
    if (status == sf::Socket::Done)
        checkTry(now);
}

void Client::checkTry(std::int64_t now)
{
    int error = 0;
    const sf::Socket::Status status = mSocket.checkConnect(error);
    if (status == sf::Socket::Error)
        return tryFailed(error, now);
    if (status == sf::Socket::NotReady)
    {
        if (now - mTryStart > TryTimeout)
            tryFailed(ETIMEDOUT, now);
        return;
    }
    mTrying = false;
    mSocket.setBlocking(true);
    mLastReceived = now;
    startSession();
}

void Client::tryFailed(int error, std::int64_t now)
{
    mTrying = false;
    notify(describeFailure(error, mServer));
    disconnect();
    scheduleRetry(now);
}

void Client::stopWorkers()
{
    mSocket.shutdown();
    mReader.stop();
    mWriter.stop();
    mReader.join();
    mWriter.join();
    mSocket.disconnect();
}

} // namespace Network
} // namespace QEL
