#include "server/Server.hpp"

#include "server/RecordParser.hpp"
#include "server/RecordWriter.hpp"
#include "server/Session.hpp"

#include <boost/asio/post.hpp>

#include <iostream>
#include <stdexcept>

namespace QEL
{
namespace Hosting
{
namespace
{

/// Connections allowed beyond the player cap, so refusals and handshakes still get through.
constexpr std::size_t ExtraConnections = 32;

/// Pause before accepting again after the system refused a connection (e.g. out of descriptors).
constexpr std::chrono::milliseconds AcceptRetry(100);

/// A name as it may be printed: control characters (terminal escapes) become '?'.
std::string printable(std::string name)
{
    for (char& c : name)
    {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    return name;
}

std::string quoted(const Session& session)
{
    return "Player '" + session.getName() + "' (id " + std::to_string(session.getPlayer()) + ")";
}

} // namespace

Server::Server(const ServerOptions& options) :
mOptions(options),
mAcceptor(mContext),
mHeartbeat(mContext),
mFlushTimer(mContext),
mAcceptRetry(mContext),
mWorld(options.maxPlayers, options.maxWorldEvents),
mFlushPending(false),
mStopped(false)
{
}

Server::~Server() = default;

void Server::start()
{
    boost::system::error_code error;
    const auto address = boost::asio::ip::make_address(mOptions.bind, error);
    if (error)
        throw std::runtime_error("Invalid bind address: '" + mOptions.bind + "'");
    const boost::asio::ip::tcp::endpoint endpoint(address, mOptions.port);
    mAcceptor.open(endpoint.protocol());
    mAcceptor.set_option(boost::asio::ip::tcp::acceptor::reuse_address(true));
    mAcceptor.bind(endpoint, error);
    if (error)
        throw std::runtime_error("Cannot listen on " + mOptions.bind + ":" + std::to_string(mOptions.port) + ": " +
                                 error.message());
    mAcceptor.listen();
    accept();
    beat();
}

void Server::run()
{
    mContext.run();
}

void Server::stop()
{
    boost::asio::post(mContext, [this] { shutdown(); });
}

std::uint16_t Server::getPort() const
{
    return mAcceptor.local_endpoint().port();
}

boost::asio::io_context& Server::getContext()
{
    return mContext;
}

void Server::handleRecord(Session& session, const ClientRecord& record)
{
    if (record.type == ClientRecord::Leave)
    {
        session.leave();
        return;
    }
    if (record.type == ClientRecord::JoinRequest)
    {
        if (session.isJoined())
            session.drop("second join request");
        else
            join(session, record.name);
        return;
    }
    // Before a player has joined there is nobody to relay for.
    if (!session.isJoined())
        return;
    switch (record.type)
    {
    case ClientRecord::PlayerStream:
        relayMove(session, record);
        break;
    case ClientRecord::ChatLine:
        relayChat(session, record.text);
        break;
    case ClientRecord::EntityMessage:
        relayEvent(session, record.entity, record.name);
        break;
    default:
        break;
    }
}

void Server::handleClosed(Session& session, const std::string& reason)
{
    const auto self = mConnections.find(&session);
    if (self == mConnections.end())
        return;
    const std::shared_ptr<Session> keep = self->second;
    mConnections.erase(self);
    if (!session.isJoined())
    {
        if (!reason.empty())
            log("Connection from " + session.getAddress() + " dropped: " + reason);
        return;
    }
    const std::uint32_t player = session.getPlayer();
    mPlayers.erase(player);
    mWorld.remove(player);
    broadcast(RecordWriter::playerQuit(player), player);
    log(quoted(session) + (reason.empty() ? " left" : " dropped: " + reason));
}

void Server::requestFlush(Session& session)
{
    mUnflushed.push_back(session.shared_from_this());
    if (mFlushPending || mStopped)
        return;
    mFlushPending = true;
    const auto due = mLastFlush + mOptions.flushInterval;
    if (due <= std::chrono::steady_clock::now())
    {
        boost::asio::post(mContext, [this] { flushAll(); });
        return;
    }
    mFlushTimer.expires_at(due);
    mFlushTimer.async_wait([this](const boost::system::error_code& error) {
        if (!error)
            flushAll();
    });
}

void Server::accept()
{
    mAcceptor.async_accept([this](const boost::system::error_code& error, boost::asio::ip::tcp::socket socket) {
        onAccepted(error, std::move(socket));
    });
}

void Server::onAccepted(const boost::system::error_code& error, boost::asio::ip::tcp::socket socket)
{
    if (mStopped || error == boost::asio::error::operation_aborted)
        return;
    if (error)
    {
        mAcceptRetry.expires_after(AcceptRetry);
        mAcceptRetry.async_wait([this](const boost::system::error_code& waitError) {
            if (!waitError)
                accept();
        });
        return;
    }
    if (mConnections.size() >= mOptions.maxPlayers + ExtraConnections)
    {
        log("Connection refused: too many connections");
        boost::system::error_code ignored;
        socket.close(ignored);
    }
    else
    {
        auto session = std::make_shared<Session>(*this, std::move(socket), mOptions);
        mConnections.emplace(session.get(), session);
        session->start();
    }
    accept();
}

void Server::beat()
{
    mHeartbeat.expires_after(mOptions.heartbeatInterval);
    mHeartbeat.async_wait([this](const boost::system::error_code& error) {
        if (error || mStopped)
            return;
        broadcast(RecordWriter::channelNotice(), 0);
        beat();
    });
}

void Server::flushAll()
{
    mFlushPending = false;
    mLastFlush = std::chrono::steady_clock::now();
    std::vector<std::shared_ptr<Session>> sessions;
    sessions.swap(mUnflushed);
    for (const auto& session : sessions)
        session->flush();
}

void Server::shutdown()
{
    if (mStopped)
        return;
    mStopped = true;
    boost::system::error_code ignored;
    mAcceptor.close(ignored);
    mHeartbeat.cancel();
    mFlushTimer.cancel();
    mAcceptRetry.cancel();
    auto connections = std::move(mConnections);
    mConnections.clear();
    mPlayers.clear();
    mUnflushed.clear();
    for (const auto& entry : connections)
        entry.second->shutdown();
}

void Server::join(Session& session, const std::string& name)
{
    const World::Refusal refusal = mWorld.check(name);
    if (refusal != World::Refusal::None)
    {
        session.deliver(RecordWriter::joinReply(1));
        session.finish();
        log("Refused join of '" + printable(name) + "' from " + session.getAddress() + ": " + World::describe(refusal));
        return;
    }
    const std::uint32_t player = mWorld.add(name);
    session.setPlayer(player, name);
    welcome(session);
    broadcast(RecordWriter::playerInfo(player, name, World::SpawnPosition, true), player);
    mPlayers.emplace(player, session.shared_from_this());
    log(quoted(session) + " joined from " + session.getAddress());
}

void Server::welcome(Session& session)
{
    session.deliver(RecordWriter::joinReply(0));
    session.deliver(RecordWriter::openChannel(RecordParser::StreamChannel, RecordWriter::PlayerStreamType));
    session.deliver(RecordWriter::openChannel(RecordParser::ChatChannel, RecordWriter::ChatType));
    for (const auto& entry : mWorld.getPlayers())
    {
        if (entry.first != session.getPlayer())
            session.deliver(RecordWriter::playerInfo(entry.first, entry.second.name, entry.second.position, false));
    }
    for (const World::Event& event : mWorld.getEvents())
        session.deliver(RecordWriter::entityMessage(event.entity, event.name));
}

void Server::relayMove(Session& session, const ClientRecord& record)
{
    // A non-finite position would wreck the other clients' physics; such records are ignored.
    if (mWorld.move(session.getPlayer(), record.position, record.speed))
        broadcast(RecordWriter::playerMove(session.getPlayer(), record.position, record.speed), session.getPlayer());
}

void Server::relayChat(Session& session, const std::string& text)
{
    // The speaker shows its own line at once, so it goes to the others only.
    if (!text.empty() && session.allowChat())
        broadcast(RecordWriter::chatLine(session.getPlayer(), text), session.getPlayer());
}

void Server::relayEvent(Session& session, std::uint32_t entity, const std::string& name)
{
    mWorld.record(entity, name);
    broadcast(RecordWriter::entityMessage(entity, name), session.getPlayer());
}

void Server::broadcast(const std::string& bytes, std::uint32_t except)
{
    for (const auto& entry : mPlayers)
    {
        if (entry.first != except)
            entry.second->deliver(bytes);
    }
}

void Server::log(const std::string& line) const
{
    if (!mOptions.quiet)
        std::cout << line << std::endl;
}

} // namespace Hosting
} // namespace QEL
