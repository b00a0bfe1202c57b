#include "tests/e2e/ObserverClient.hpp"

#include "network/Packet.hpp"

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/address.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace QEL
{
namespace Testing
{
namespace
{

constexpr std::uint8_t PlayerStreamType = 255;
constexpr std::uint8_t ChatType = 3;
/// Well inside the server's idle timeout.
const auto KeepAliveEvery = std::chrono::seconds(5);

std::string coreRecord(std::uint16_t code, const std::string& name = "")
{
    Network::Packet packet;
    packet.setChannel(0);
    packet.writeU8(0).writeU16(code);
    if (!name.empty())
        packet.writeStr8(name);
    packet.computeChecksum();
    return packet.serialize();
}

} // namespace

ObserverClient::ObserverClient(std::uint16_t port, const std::string& name) :
mSocket(mContext),
mKeepAliveTimer(mContext),
mBuffer(),
mKeepAlive(coreRecord(0xBEA7))
{
    mSocket.connect(boost::asio::ip::tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
    boost::asio::write(mSocket, boost::asio::buffer(coreRecord(1, name)));
    read();
    keepAlive();
    mThread = std::thread([this] { mContext.run(); });
}

ObserverClient::~ObserverClient()
{
    boost::asio::post(mContext, [this] {
        boost::system::error_code ignored;
        mKeepAliveTimer.cancel();
        mSocket.close(ignored);
    });
    mThread.join();
}

bool ObserverClient::waitJoined(std::chrono::milliseconds deadline)
{
    return waitUntil([this] { return mAdmitted.has_value(); }, deadline) && *mAdmitted;
}

std::optional<std::uint32_t> ObserverClient::waitForPlayer(const std::string& name, std::chrono::milliseconds deadline)
{
    std::optional<std::uint32_t> found;
    waitUntil([&] {
        for (const auto& [id, playerName] : mPlayers)
        {
            if (playerName == name)
                found = id;
        }
        return found.has_value();
    }, deadline);
    return found;
}

std::optional<ObserverClient::Move> ObserverClient::waitForMove(std::uint32_t player, const std::function<bool(const Move&)>& condition,
                                                                std::chrono::milliseconds deadline, std::size_t from)
{
    std::optional<Move> found;
    waitUntil([&] {
        const std::vector<Move>& moves = mMoves[player];
        const auto match = std::find_if(moves.begin() + static_cast<std::ptrdiff_t>(std::min(from, moves.size())), moves.end(), condition);
        if (match != moves.end())
            found = *match;
        return found.has_value();
    }, deadline);
    return found;
}

std::optional<ObserverClient::Move> ObserverClient::waitForStill(std::uint32_t player, std::chrono::milliseconds deadline,
                                                                 std::size_t from)
{
    // Half a second of records (they come 11 times a second) that agree to a twentieth of a unit.
    constexpr std::size_t Records = 5;
    const auto still = [](const Move& earlier, const Move& later) {
        return (later.position - earlier.position).getLength() < 0.05f && later.speed.getLength() < 1.f;
    };
    std::optional<Move> found;
    waitUntil([&] {
        const std::vector<Move>& moves = mMoves[player];
        std::size_t run = 0;
        for (std::size_t i = from + 1; i < moves.size() && !found; ++i)
        {
            run = still(moves[i - 1], moves[i]) ? run + 1 : 0;
            if (run + 1 >= Records)
                found = moves[i];
        }
        return found.has_value();
    }, deadline);
    return found;
}

std::size_t ObserverClient::getMoveCount(std::uint32_t player) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    const auto moves = mMoves.find(player);
    return moves == mMoves.end() ? 0 : moves->second.size();
}

std::optional<ObserverClient::Move> ObserverClient::waitForLatestMove(std::uint32_t player, std::chrono::milliseconds deadline)
{
    std::optional<Move> found;
    waitUntil([&] {
        if (!mMoves[player].empty())
            found = mMoves[player].back();
        return found.has_value();
    }, deadline);
    return found;
}

bool ObserverClient::waitForChat(std::size_t count, std::chrono::milliseconds deadline)
{
    return waitUntil([&] { return mChat.size() >= count; }, deadline);
}

bool ObserverClient::waitForWorldEvent(std::uint32_t entity, const std::string& name, std::chrono::milliseconds deadline)
{
    return waitUntil([&] {
        return std::any_of(mWorldEvents.begin(), mWorldEvents.end(),
                           [&](const WorldEvent& event) { return event.entity == entity && event.name == name; });
    }, deadline);
}

bool ObserverClient::waitForQuit(std::uint32_t player, std::chrono::milliseconds deadline)
{
    return waitUntil([&] { return std::find(mQuits.begin(), mQuits.end(), player) != mQuits.end(); }, deadline);
}

std::vector<ObserverClient::ChatLine> ObserverClient::getChat() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mChat;
}

std::vector<ObserverClient::WorldEvent> ObserverClient::getWorldEvents() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mWorldEvents;
}

bool ObserverClient::waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, deadline, condition);
}

void ObserverClient::read()
{
    mSocket.async_read_some(boost::asio::buffer(mBuffer), [this](const boost::system::error_code& error, std::size_t size) {
        if (error)
            return;
        mReceived.append(mBuffer.data(), size);
        std::size_t taken = 0;
        Network::Packet packet;
        while (Network::Packet::extract(mReceived.data() + taken, mReceived.size() - taken, packet) !=
               Network::Packet::Extraction::Incomplete)
        {
            taken += packet.getWireSize();
            if (packet.checksumMatches())
                handle(packet);
        }
        mReceived.erase(0, taken);
        read();
    });
}

void ObserverClient::sendWorldEvent(std::uint32_t entity, const std::string& name)
{
    Network::Packet packet;
    packet.writeU8(0).writeU16(0xBEEF).writeU32(entity).writeStr8(name);
    packet.computeChecksum();
    auto bytes = std::make_shared<std::string>(packet.serialize());
    boost::asio::post(mContext, [this, bytes] {
        boost::system::error_code ignored;
        boost::asio::write(mSocket, boost::asio::buffer(*bytes), ignored);
    });
}

void ObserverClient::keepAlive()
{
    mKeepAliveTimer.expires_after(KeepAliveEvery);
    mKeepAliveTimer.async_wait([this](const boost::system::error_code& error) {
        if (error)
            return;
        boost::system::error_code ignored;
        boost::asio::write(mSocket, boost::asio::buffer(mKeepAlive), ignored);
        keepAlive();
    });
}

void ObserverClient::handle(Network::Packet& packet)
{
    std::lock_guard<std::mutex> lock(mMutex);
    try
    {
        const auto type = mChannelTypes.find(packet.getChannel());
        if (packet.getChannel() == 0)
        {
            handleCore(packet);
        }
        else if (type != mChannelTypes.end() && type->second == PlayerStreamType)
        {
            handleStream(packet);
        }
        else if (type != mChannelTypes.end() && type->second == ChatType)
        {
            ChatLine line{};
            packet.readU32(line.speaker).readStr16(line.text);
            mChat.push_back(line);
        }
    }
    catch (const std::runtime_error&)
    {
        // A short record is the server's fault; the tests notice what is missing.
    }
    mChanged.notify_all();
}

void ObserverClient::handleCore(Network::Packet& packet)
{
    std::uint8_t kind = 0;
    std::uint16_t code = 0;
    packet.readU8(kind).readU16(code);
    if (kind == 1 && code == 1)
    {
        std::uint8_t result = 1;
        packet.readU8(result);
        mAdmitted = result == 0;
    }
    else if (kind == 2 && code == 16)
    {
        std::uint8_t channel = 0, type = 0, flag = 0;
        packet.readU8(channel).readU8(type).readU8(flag);
        if (flag == 0)
            mChannelTypes[channel] = type;
    }
    else if (kind == 2 && code == 0xBEEF)
    {
        WorldEvent event{};
        packet.readU32(event.entity).readStr8(event.name);
        mWorldEvents.push_back(event);
    }
}

void ObserverClient::handleStream(Network::Packet& packet)
{
    std::uint8_t kind = 0;
    std::uint32_t player = 0;
    packet.readU8(kind).readU32(player);
    if (kind == 0)
    {
        std::string name;
        packet.readStr8(name);
        mPlayers[player] = name;
    }
    else if (kind == 1)
    {
        mQuits.push_back(player);
    }
    else if (kind == 2)
    {
        Move move;
        packet.readVec3(move.position).readVec3(move.speed);
        mMoves[player].push_back(move);
    }
}

} // namespace Testing
} // namespace QEL
