#include "server/Session.hpp"

#include "server/RecordParser.hpp"
#include "server/RecordWriter.hpp"
#include "server/Server.hpp"
#include "server/ServerOptions.hpp"

#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

#include <algorithm>
#include <tuple>
#include <utility>

namespace QEL
{
namespace Hosting
{
namespace
{

/// Bytes of world events replayed per write to a late joiner.
constexpr std::size_t ReplaySlice = 64 * 1024;

/// The remote address, and the address with its port.
std::pair<std::string, std::string> describe(const boost::asio::ip::tcp::socket& socket)
{
    boost::system::error_code error;
    const auto endpoint = socket.remote_endpoint(error);
    if (error)
        return {"unknown peer", "unknown peer"};
    const std::string address = endpoint.address().to_string();
    return {address, address + ":" + std::to_string(endpoint.port())};
}

} // namespace

Session::Session(Server& server, boost::asio::ip::tcp::socket socket, const ServerOptions& options) :
mServer(server),
mSocket(std::move(socket)),
mIdleTimer(mSocket.get_executor()),
mJoinTimer(mSocket.get_executor()),
mPaceTimer(mSocket.get_executor()),
mIdleTimeout(options.idleTimeout),
mJoinTimeout(options.joinTimeout),
mLastActivity(Clock::now()),
mReadBuffer(),
mReplay(nullptr),
mReplayNext(0),
mReplayEnd(0),
mMaxBacklog(options.maxBacklog),
mChat(options.chatLines, options.chatWindow),
mEvents(options.eventRate, options.eventBurst),
mStream(options.streamRate, options.streamBurst),
mFlood(options.floodRate, options.floodRate * options.floodSeconds),
mMovePending(false),
mPaceArmed(false),
mPlayer(0),
mOpen(true),
mFinishing(false),
mWriteBusy(false),
mFlushRequested(false),
mOverflowed(false)
{
    boost::system::error_code ignored;
    mSocket.set_option(boost::asio::ip::tcp::no_delay(true), ignored);
    std::tie(mPeer, mAddress) = describe(mSocket);
}

void Session::start()
{
    read();
    watchIdle(mIdleTimeout);
    mJoinTimer.expires_after(mJoinTimeout);
    mJoinTimer.async_wait([self = shared_from_this()](const boost::system::error_code& error) {
        self->onJoinDeadline(error);
    });
}

void Session::deliver(const std::string& bytes)
{
    queue(bytes);
}

void Session::deliverMove(std::uint32_t player, const std::string& bytes)
{
    const auto slot = std::lower_bound(mMoveSlots.begin(), mMoveSlots.end(), player,
                                       [](const auto& entry, std::uint32_t id) { return entry.first < id; });
    if (slot != mMoveSlots.end() && slot->first == player)
        mOutgoing.replace(slot->second, bytes.size(), bytes);
    else if (queue(bytes))
        mMoveSlots.emplace(slot, player, mOutgoing.size() - bytes.size());
}

void Session::replay(const std::vector<World::Event>& events)
{
    // Events recorded from now on reach this player live.
    mReplay = &events;
    mReplayNext = 0;
    mReplayEnd = events.size();
}

void Session::flush()
{
    mFlushRequested = false;
    if (!mOpen || mWriteBusy)
        return;
    appendReplay();
    if (mOutgoing.empty())
        return;
    mWriteBusy = true;
    mLastWrite = Clock::now();
    mWriting.swap(mOutgoing);
    mOutgoing.clear();
    mMoveSlots.clear();
    boost::asio::async_write(mSocket, boost::asio::buffer(mWriting),
                             [self = shared_from_this()](const boost::system::error_code& error, std::size_t) {
                                 self->onWritten(error);
                             });
}

Session::Clock::time_point Session::getLastWrite() const
{
    return mLastWrite;
}

void Session::leave()
{
    end("", true);
}

void Session::drop(const std::string& reason)
{
    end(reason, true);
}

void Session::finish()
{
    mFinishing = true;
    if (!mWriteBusy && mOutgoing.empty())
        halfClose();
}

void Session::shutdown()
{
    end("", false);
}

void Session::setPlayer(std::uint32_t player, const std::string& name)
{
    mPlayer = player;
    mName = name;
}

bool Session::isJoined() const
{
    return mPlayer != 0;
}

std::uint32_t Session::getPlayer() const
{
    return mPlayer;
}

const std::string& Session::getName() const
{
    return mName;
}

const std::string& Session::getAddress() const
{
    return mAddress;
}

const std::string& Session::getPeer() const
{
    return mPeer;
}

bool Session::allowChat()
{
    return mChat.allow(Clock::now());
}

bool Session::allowEvent()
{
    return mEvents.take(Clock::now());
}

Session::Pace Session::paceMove(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    const auto now = Clock::now();
    if (!mFlood.take(now))
        return Pace::Flood;
    if (!mMovePending && mStream.take(now))
        return Pace::Now;
    mMovePending = true;
    mPendingPosition = position;
    mPendingSpeed = speed;
    if (!mPaceArmed)
        armPace(mStream.untilNext(now));
    return Pace::Later;
}

void Session::read()
{
    mSocket.async_read_some(boost::asio::buffer(mReadBuffer),
                            [self = shared_from_this()](const boost::system::error_code& error, std::size_t size) {
                                self->onRead(error, size);
                            });
}

void Session::onRead(const boost::system::error_code& error, std::size_t size)
{
    if (!mOpen)
        return;
    if (error)
    {
        const bool orderly = error == boost::asio::error::eof;
        end(mFinishing ? "" : orderly ? "connection closed" : "connection lost", true);
        return;
    }
    if (!mFinishing)
    {
        mReader.append(mReadBuffer.data(), size);
        if (!handleBuffered())
            return;
    }
    read();
}

bool Session::handleBuffered()
{
    Network::Packet packet;
    for (;;)
    {
        switch (mReader.next(packet))
        {
        case PacketReader::Status::NeedMore:
            return true;
        case PacketReader::Status::Oversized:
            drop("oversized packet");
            return false;
        case PacketReader::Status::BadChecksum:
            drop("bad checksum");
            return false;
        case PacketReader::Status::Ready:
            break;
        }
        const ClientRecord record = RecordParser::parse(packet);
        if (record.type == ClientRecord::Invalid)
        {
            drop(record.error);
            return false;
        }
        mLastActivity = Clock::now();
        mServer.handleRecord(*this, record);
        if (!mOpen || mFinishing)
            return mOpen;
    }
}

void Session::watchIdle(Clock::duration wait)
{
    mIdleTimer.expires_after(wait);
    mIdleTimer.async_wait([self = shared_from_this()](const boost::system::error_code& error) { self->onIdleCheck(error); });
}

void Session::onIdleCheck(const boost::system::error_code& error)
{
    if (error || !mOpen)
        return;
    const auto silent = Clock::now() - mLastActivity;
    if (silent < mIdleTimeout)
        watchIdle(mIdleTimeout - silent);
    else
        end(mFinishing ? "" : "idle timeout", true);
}

void Session::onJoinDeadline(const boost::system::error_code& error)
{
    if (error || !mOpen || isJoined())
        return;
    end(mFinishing ? "" : "did not join in time", true);
}

void Session::armPace(Clock::duration wait)
{
    mPaceArmed = true;
    mPaceTimer.expires_after(wait);
    mPaceTimer.async_wait([self = shared_from_this()](const boost::system::error_code& error) { self->onPace(error); });
}

void Session::onPace(const boost::system::error_code& error)
{
    mPaceArmed = false;
    if (error || !mOpen || !mMovePending)
        return;
    const auto now = Clock::now();
    if (!mStream.take(now))
    {
        armPace(mStream.untilNext(now));
        return;
    }
    mMovePending = false;
    mServer.relayMove(*this, mPendingPosition, mPendingSpeed);
}

bool Session::queue(const std::string& bytes)
{
    if (!mOpen || mOverflowed)
        return false;
    if (mOutgoing.size() + bytes.size() > mMaxBacklog)
    {
        // Dropping here could disturb a broadcast that is walking the player list; do it next.
        mOverflowed = true;
        boost::asio::post(mSocket.get_executor(),
                          [self = shared_from_this()] { self->drop("not reading (send backlog full)"); });
        return false;
    }
    mOutgoing += bytes;
    if (!mFlushRequested)
    {
        mFlushRequested = true;
        mServer.requestFlush(*this);
    }
    return true;
}

void Session::appendReplay()
{
    if (!mReplay)
        return;
    const std::size_t limit = mOutgoing.size() + ReplaySlice;
    while (mReplayNext < mReplayEnd && mOutgoing.size() < limit)
    {
        const World::Event& event = (*mReplay)[mReplayNext++];
        mOutgoing += RecordWriter::entityMessage(event.entity, event.name);
    }
    if (mReplayNext == mReplayEnd)
        mReplay = nullptr;
}

void Session::onWritten(const boost::system::error_code& error)
{
    mWriteBusy = false;
    if (!mOpen)
        return;
    if (error)
    {
        drop("connection lost");
        return;
    }
    if (!mOutgoing.empty() || mReplay)
    {
        mFlushRequested = true;
        mServer.requestFlush(*this);
    }
    else if (mFinishing)
    {
        halfClose();
    }
}

void Session::halfClose()
{
    // The peer reads everything sent before our end closes; its own close then ends the session.
    boost::system::error_code ignored;
    mSocket.shutdown(boost::asio::ip::tcp::socket::shutdown_send, ignored);
}

void Session::end(const std::string& reason, bool tellServer)
{
    if (!mOpen)
        return;
    mOpen = false;
    boost::system::error_code ignored;
    mIdleTimer.cancel();
    mJoinTimer.cancel();
    mPaceTimer.cancel();
    mSocket.close(ignored);
    if (tellServer)
        mServer.handleClosed(*this, reason);
}

} // namespace Hosting
} // namespace QEL
