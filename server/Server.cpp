#include "server/Server.hpp"

#include "network/ControlCharacters.hpp"
#include "network/Protocol.hpp"
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

/// Pause before accepting again after the system refused a connection (e.g. out of descriptors).
constexpr std::chrono::milliseconds AcceptRetry(100);

/// A name as it may be printed: no terminal escapes, and never longer than a str8.
std::string printable(const std::string& name)
{
    return Network::cleanText(name, 255);
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
mAcceptRetry(mContext),
mWorld(options.maxPlayers, options.maxWorldEvents, options.maxEntityId),
mInterest(options.interestRadius),
mWrites(mContext, options.flushInterval),
mPending(0),
mLogThrottle(options.logLines, options.logInterval),
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
        paceMove(session, record);
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
        releasePending(session.getPeer());
        if (!reason.empty())
            log("dropped connection", "Connection from " + session.getAddress() + " dropped: " + reason);
        return;
    }
    const std::uint32_t player = session.getPlayer();
    mPlayers.erase(player);
    mWorld.remove(player);
    mInterest.remove(player);
    broadcast(RecordWriter::playerQuit(player), player);
    if (reason.empty())
        log("left", quoted(session) + " left");
    else
        log("dropped player", quoted(session) + " dropped: " + reason);
}

void Server::requestFlush(Session& session)
{
    mWrites.request(session.shared_from_this(), session.getLastWrite());
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
    auto session = std::make_shared<Session>(*this, std::move(socket), mOptions);
    if (admitPending(session->getPeer()))
    {
        mConnections.emplace(session.get(), session);
        session->start();
    }
    else
    {
        log("refused connection", "Connection from " + session->getAddress() + " refused: too many connections not joined yet");
        session->shutdown();
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
        print(mLogThrottle.sweep(std::chrono::steady_clock::now()));
        beat();
    });
}

void Server::shutdown()
{
    if (mStopped)
        return;
    mStopped = true;
    boost::system::error_code ignored;
    mAcceptor.close(ignored);
    mHeartbeat.cancel();
    mWrites.stop();
    mAcceptRetry.cancel();
    auto connections = std::move(mConnections);
    mConnections.clear();
    mPlayers.clear();
    mPending = 0;
    mPendingByPeer.clear();
    for (const auto& entry : connections)
        entry.second->shutdown();
}

bool Server::admitPending(const std::string& peer)
{
    std::size_t& fromPeer = mPendingByPeer[peer];
    if (mPending >= mOptions.maxPending || fromPeer >= mOptions.maxPendingPerAddress)
    {
        if (fromPeer == 0)
            mPendingByPeer.erase(peer);
        return false;
    }
    ++mPending;
    ++fromPeer;
    return true;
}

void Server::releasePending(const std::string& peer)
{
    const auto found = mPendingByPeer.find(peer);
    if (found == mPendingByPeer.end())
        return;
    --mPending;
    if (--found->second == 0)
        mPendingByPeer.erase(found);
}

void Server::join(Session& session, const std::string& name)
{
    const World::Refusal refusal = mWorld.check(name);
    if (refusal != World::Refusal::None)
    {
        session.deliver(RecordWriter::joinReply(World::getJoinResult(refusal)));
        session.finish();
        log("refused join",
            "Refused join of '" + printable(name) + "' from " + session.getAddress() + ": " + World::describe(refusal));
        return;
    }
    releasePending(session.getPeer());
    const std::uint32_t player = mWorld.add(name);
    session.setPlayer(player, name);
    welcome(session);
    broadcast(RecordWriter::playerInfo(player, name, World::SpawnPosition, true), player);
    mPlayers.emplace(player, session.shared_from_this());
    // The welcome told where everybody is; of the players near the centre, those on the move are
    // told how they move too, lest they stand still until their next record.
    mInterest.place(player, World::SpawnPosition, mChange);
    for (std::uint32_t other : mChange.entered)
    {
        const Plym::Math::Vector3& speed = mWorld.getPlayers().at(other).speed;
        if (speed != Plym::Math::Vector3())
            tellMovement(session, other, speed);
    }
    log("joined", quoted(session) + " joined from " + session.getAddress());
}

void Server::welcome(Session& session)
{
    namespace Protocol = Network::Protocol;
    session.deliver(RecordWriter::joinReply(Protocol::JoinAccepted));
    session.deliver(RecordWriter::openChannel(Protocol::StreamChannel, Protocol::PlayerStreamType));
    session.deliver(RecordWriter::openChannel(Protocol::ChatChannel, Protocol::ChatType));
    for (const auto& entry : mWorld.getPlayers())
    {
        if (entry.first != session.getPlayer())
            session.deliver(RecordWriter::playerInfo(entry.first, entry.second.name, entry.second.position, false));
    }
    session.replay(mWorld.getEvents());
}

void Server::paceMove(Session& session, const ClientRecord& record)
{
    // A position off the map or not finite would wreck the other clients' physics and the grid.
    if (!World::isPlausible(record.position, record.speed))
    {
        log("implausible move",
            quoted(session) + " from " + session.getAddress() + " sent a movement off the map or not finite: ignored");
        return;
    }
    switch (session.paceMove(record.position, record.speed))
    {
    case Session::Pace::Now:
        relayMove(session, record.position, record.speed);
        break;
    case Session::Pace::Later:
        log("throttled stream", quoted(session) + " from " + session.getAddress() + " streams too fast: throttled");
        break;
    case Session::Pace::Flood:
        session.drop("movement flood");
        break;
    }
}

void Server::relayMove(Session& session, const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    const std::uint32_t player = session.getPlayer();
    mWorld.move(player, position, speed);
    mInterest.place(player, position, mChange);
    exchangeNews(session, mChange);
    // Those that just came into the area learn the mover's position and speed here too.
    const std::string bytes = RecordWriter::playerMove(player, position, speed);
    for (std::uint32_t other : mInterest.getNeighbours(player))
        mPlayers.at(other)->deliverMove(player, bytes);
}

void Server::exchangeNews(Session& session, const InterestGrid::Change& change)
{
    const std::uint32_t player = session.getPlayer();
    const Plym::Math::Vector3 still;
    // Whoever leaves an area stops where it was last known to be, instead of drifting on.
    for (std::uint32_t other : change.left)
    {
        tellMovement(*mPlayers.at(other), player, still);
        tellMovement(session, other, still);
    }
    for (std::uint32_t other : change.entered)
        tellMovement(session, other, mWorld.getPlayers().at(other).speed);
}

void Server::tellMovement(Session& receiver, std::uint32_t player, const Plym::Math::Vector3& speed)
{
    receiver.deliverMove(player, RecordWriter::playerMove(player, mWorld.getPlayers().at(player).position, speed));
}

void Server::relayChat(Session& session, const std::string& text)
{
    if (text.empty())
        return;
    if (!session.allowChat())
    {
        log("chat limit", quoted(session) + " from " + session.getAddress() + " chats too fast: line dropped");
        return;
    }
    // The speaker shows its own line at once, so it goes to the others only.
    broadcast(RecordWriter::chatLine(session.getPlayer(), Network::cleanText(text, mOptions.maxChatBytes)),
              session.getPlayer());
}

void Server::relayEvent(Session& session, std::uint32_t entity, const std::string& name)
{
    if (!session.allowEvent())
    {
        log("event limit", quoted(session) + " from " + session.getAddress() + " causes world events too fast: ignored");
        return;
    }
    const World::EventVerdict verdict = mWorld.record(entity, name);
    if (verdict == World::EventVerdict::New)
        broadcast(RecordWriter::entityMessage(entity, name), session.getPlayer());
    else if (verdict != World::EventVerdict::Known)
        log("forged event", quoted(session) + " from " + session.getAddress() + " sent a world event with " +
                                World::describe(verdict) + ": ignored");
}

void Server::broadcast(const std::string& bytes, std::uint32_t except)
{
    for (const auto& entry : mPlayers)
    {
        if (entry.first != except)
            entry.second->deliver(bytes);
    }
}

void Server::log(const std::string& kind, const std::string& line)
{
    if (!mOptions.quiet)
        print(mLogThrottle.filter(kind, line, std::chrono::steady_clock::now()));
}

void Server::print(const std::vector<std::string>& lines) const
{
    if (mOptions.quiet)
        return;
    for (const std::string& line : lines)
        std::cout << line << std::endl;
}

} // namespace Hosting
} // namespace QEL
