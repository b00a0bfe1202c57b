#include "server/Session.hpp"

#include "server/RecordParser.hpp"
#include "server/Server.hpp"
#include "server/ServerOptions.hpp"

#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

namespace QEL
{
namespace Hosting
{
namespace
{

std::string describe(const boost::asio::ip::tcp::socket& socket)
{
    boost::system::error_code error;
    const auto endpoint = socket.remote_endpoint(error);
    if (error)
        return "unknown peer";
    return endpoint.address().to_string() + ":" + std::to_string(endpoint.port());
}

} // namespace

Session::Session(Server& server, boost::asio::ip::tcp::socket socket, const ServerOptions& options) :
mServer(server),
mSocket(std::move(socket)),
mIdleTimer(mSocket.get_executor()),
mIdleTimeout(options.idleTimeout),
mLastActivity(Clock::now()),
mReadBuffer(),
mMaxBacklog(options.maxBacklog),
mChat(options.chatLines, options.chatWindow),
mAddress(describe(mSocket)),
mPlayer(0),
mOpen(true),
mFinishing(false),
mWriteBusy(false),
mFlushRequested(false),
mOverflowed(false)
{
    boost::system::error_code ignored;
    mSocket.set_option(boost::asio::ip::tcp::no_delay(true), ignored);
}

void Session::start()
{
    read();
    watchIdle(mIdleTimeout);
}

void Session::deliver(const std::string& bytes)
{
    if (!mOpen || mOverflowed)
        return;
    if (mOutgoing.size() + bytes.size() > mMaxBacklog)
    {
        // Dropping here could disturb a broadcast that is walking the player list; do it next.
        mOverflowed = true;
        boost::asio::post(mSocket.get_executor(),
                          [self = shared_from_this()] { self->drop("not reading (send backlog full)"); });
        return;
    }
    mOutgoing += bytes;
    if (!mFlushRequested)
    {
        mFlushRequested = true;
        mServer.requestFlush(*this);
    }
}

void Session::flush()
{
    mFlushRequested = false;
    if (!mOpen || mWriteBusy || mOutgoing.empty())
        return;
    mWriteBusy = true;
    mWriting.swap(mOutgoing);
    mOutgoing.clear();
    boost::asio::async_write(mSocket, boost::asio::buffer(mWriting),
                             [self = shared_from_this()](const boost::system::error_code& error, std::size_t) {
                                 self->onWritten(error);
                             });
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

bool Session::allowChat()
{
    return mChat.allow(Clock::now());
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
    if (!mOutgoing.empty())
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
    mSocket.close(ignored);
    if (tellServer)
        mServer.handleClosed(*this, reason);
}

} // namespace Hosting
} // namespace QEL
