#include "tools/bot/Bot.hpp"

#include "network/Packet.hpp"
#include "network/Protocol.hpp"
#include "tools/bot/BotObserver.hpp"
#include "tools/bot/LandMap.hpp"

#include <boost/asio/write.hpp>

#include <cmath>
#include <iostream>
#include <stdexcept>

namespace QEL
{
namespace Bots
{
namespace
{

const Plym::Math::Vector3 WorldCentre(11520.f, 11520.f, 0.f);

namespace Protocol = Network::Protocol;

/// A bot says a line on average once in this many steps (about every 20 seconds).
constexpr unsigned ChatOdds = 33 * 20;
/// Longest pause between two legs of the walk: two seconds of steps.
constexpr int LongestRest = 66;

const char* const Lines[] = {
    "Hello everyone!",
    "Lovely weather on the island today.",
    "Has anyone seen the snakes? Keep clear of them.",
    "These trees are enormous.",
    "I'm off for a walk along the beach.",
    "Good to see you all here!",
    "Careful, the water gets deep out there.",
    "Who wants to build a road with me?",
};

Network::Packet coreRecord(std::uint16_t code)
{
    Network::Packet packet;
    packet.setChannel(Protocol::CoreChannel);
    packet.writeU8(Protocol::RequestKind).writeU16(code);
    return packet;
}

} // namespace

Bot::Bot(boost::asio::io_context& context, const std::string& name, std::uint32_t seed, bool chat, bool quiet,
         const LandMap* land) :
mSocket(context),
mName(name),
mRandom(seed),
mChat(chat),
mChatInterval(0),
mChatCountdown(0),
mQuiet(quiet),
mLand(land),
mObserver(nullptr),
mState(State::Connecting),
mRestSteps(0),
mSendCounter(0),
mReadBuffer(),
mWriteBusy(false),
mLeaving(false)
{
    if (mLand)
        mTarget = mLand->anywhere(mRandom);
    else
        chooseTarget();
    mPosition = mTarget;
    chooseTarget();
    mSendCounter = static_cast<int>(mRandom() % 3);
}

void Bot::connect(const boost::asio::ip::tcp::endpoint& server)
{
    mSocket.async_connect(server, [this](const boost::system::error_code& error) { onConnected(error); });
}

void Bot::step()
{
    if (mState != State::Joined)
        return;
    walk();
    // Like the game client: one movement record every third step.
    if (++mSendCounter > 2)
    {
        mSendCounter = 0;
        sendMove();
    }
    if (!mChat)
        return;
    if (mChatInterval > 0 ? --mChatCountdown == 0 : mRandom() % ChatOdds == 0)
    {
        mChatCountdown = mChatInterval;
        say();
    }
}

void Bot::leave()
{
    if (mState == State::Joined)
    {
        Network::Packet goodbye = coreRecord(Protocol::LeaveCode);
        send(goodbye);
        mLeaving = true;
        mState = State::Closed;
        return;
    }
    close();
}

void Bot::close()
{
    if (mState != State::Refused)
        mState = State::Closed;
    boost::system::error_code ignored;
    mSocket.close(ignored);
}

void Bot::setObserver(BotObserver* observer)
{
    mObserver = observer;
}

void Bot::setChatInterval(unsigned steps)
{
    mChatInterval = steps;
    mChatCountdown = steps;
}

Bot::State Bot::getState() const
{
    return mState;
}

bool Bot::isConnected() const
{
    return mSocket.is_open();
}

const std::string& Bot::getName() const
{
    return mName;
}

const BotStats& Bot::getStats() const
{
    return mStats;
}

const Plym::Math::Vector3& Bot::getPosition() const
{
    return mPosition;
}

void Bot::onConnected(const boost::system::error_code& error)
{
    if (mState == State::Closed)
        return;
    if (error)
    {
        lost("could not connect: " + error.message());
        return;
    }
    boost::system::error_code ignored;
    mSocket.set_option(boost::asio::ip::tcp::no_delay(true), ignored);
    mState = State::Joining;
    Network::Packet join = coreRecord(Protocol::JoinRequestCode);
    join.writeStr8(mName);
    send(join);
    read();
}

void Bot::read()
{
    mSocket.async_read_some(boost::asio::buffer(mReadBuffer),
                            [this](const boost::system::error_code& error, std::size_t size) { onRead(error, size); });
}

void Bot::onRead(const boost::system::error_code& error, std::size_t size)
{
    if (mState == State::Closed || mState == State::Refused)
        return;
    if (error)
    {
        lost("lost the connection: " + error.message());
        return;
    }
    mReceived.append(mReadBuffer.data(), size);
    std::size_t taken = 0;
    Network::Packet packet;
    for (;;)
    {
        const auto extraction = Network::Packet::extract(mReceived.data() + taken, mReceived.size() - taken, packet);
        if (extraction == Network::Packet::Extraction::Incomplete)
            break;
        if (extraction == Network::Packet::Extraction::BadChecksum)
        {
            lost("received a corrupt packet");
            return;
        }
        taken += packet.getWireSize();
        handle(packet);
        if (mState == State::Closed || mState == State::Refused)
            return;
    }
    mReceived.erase(0, taken);
    read();
}

void Bot::handle(Network::Packet& packet)
{
    try
    {
        if (packet.getChannel() == Protocol::CoreChannel)
        {
            handleCore(packet);
            return;
        }
        const auto type = mChannelTypes.find(packet.getChannel());
        if (type == mChannelTypes.end())
            return;
        if (type->second == Protocol::PlayerStreamType)
        {
            handleStream(packet);
        }
        else if (type->second == Protocol::ChatType)
        {
            std::uint32_t speaker = 0;
            std::string text;
            packet.readU32(speaker).readStr16(text);
            ++mStats.linesReceived;
        }
    }
    catch (const std::runtime_error&)
    {
        print(mName + " ignored a short record on channel " + std::to_string(packet.getChannel()));
    }
}

void Bot::handleCore(Network::Packet& packet)
{
    std::uint8_t kind = 0;
    std::uint16_t code = 0;
    packet.readU8(kind).readU16(code);
    if (kind == Protocol::ReplyKind && code == Protocol::JoinReplyCode)
    {
        std::uint8_t result = 1;
        packet.readU8(result);
        if (result == Protocol::JoinAccepted)
        {
            mState = State::Joined;
            ++mStats.joins;
            print(mName + " joined");
        }
        else
        {
            print(mName + " was refused by the server");
            mState = State::Refused;
            close();
        }
    }
    else if (kind == Protocol::NoticeKind && code == Protocol::OpenChannelCode)
    {
        std::uint8_t channel = 0, type = 0, flag = 0;
        packet.readU8(channel).readU8(type).readU8(flag);
        if (flag == 0)
            mChannelTypes[channel] = type;
    }
    else if (kind == Protocol::NoticeKind && code == Protocol::ChannelNoticeCode)
    {
        ++mStats.heartbeats;
    }
    else if (kind == Protocol::NoticeKind && code == Protocol::EntityMessageCode)
    {
        ++mStats.worldEvents;
    }
}

void Bot::handleStream(Network::Packet& packet)
{
    std::uint8_t kind = 0;
    std::uint32_t player = 0;
    packet.readU8(kind).readU32(player);
    if (kind == Protocol::PlayerInfoKind)
    {
        ++mStats.playersSeen;
    }
    else if (kind == Protocol::PlayerQuitKind)
    {
        ++mStats.quitsSeen;
    }
    else if (kind == Protocol::PlayerMoveKind)
    {
        Plym::Math::Vector3 position, speed;
        packet.readVec3(position).readVec3(speed);
        ++mStats.movesReceived;
        if (mObserver)
            mObserver->onPlayerMove(*this, player, position, speed);
    }
}

void Bot::walk()
{
    const float dt = static_cast<float>(StepSeconds);
    Plym::Math::Vector3 wanted;
    if (mRestSteps > 0)
    {
        --mRestSteps;
    }
    else
    {
        const Plym::Math::Vector3 way = mTarget - mPosition;
        const float distance = way.getLength();
        if (distance < 20.f)
        {
            mRestSteps = static_cast<int>(mRandom() % (LongestRest + 1));
            chooseTarget();
        }
        else
        {
            wanted = way * (WalkSpeed / distance);
        }
    }
    // The same easing the game client applies to its own speed.
    mSpeed = mSpeed + (wanted - mSpeed) * (dt * 8.f);
    const Plym::Math::Vector3 next = mPosition + mSpeed * dt;
    // Easing round a corner near the shore could carry the bot into the water: it stops instead.
    if (mLand && !mLand->isLand(next))
    {
        mSpeed = Plym::Math::Vector3();
        chooseTarget();
        return;
    }
    mPosition = next;
}

void Bot::chooseTarget()
{
    if (mLand)
    {
        mTarget = mLand->near(mPosition, SpreadLeg, mRandom);
        return;
    }
    std::uniform_real_distribution<float> unit(0.f, 1.f);
    const float angle = unit(mRandom) * 6.2831853f;
    const float distance = RoamRadius * std::sqrt(unit(mRandom));
    mTarget = WorldCentre + Plym::Math::Vector3(std::cos(angle) * distance, std::sin(angle) * distance, 0.f);
}

void Bot::sendMove()
{
    Plym::Math::Vector3 position = mPosition;
    Plym::Math::Vector3 speed = mSpeed;
    if (mObserver)
        mObserver->beforeMove(*this, position, speed);
    Network::Packet packet;
    packet.setChannel(Protocol::StreamChannel);
    packet.writeU8(Protocol::PlayerMoveKind);
    packet.writeF32(position.x).writeF32(position.y).writeF32(position.z);
    packet.writeF32(speed.x).writeF32(speed.y).writeF32(speed.z);
    send(packet);
    ++mStats.movesSent;
}

void Bot::say()
{
    Network::Packet packet;
    packet.setChannel(Protocol::ChatChannel);
    packet.writeStr16(std::string(Lines[mRandom() % (sizeof(Lines) / sizeof(Lines[0]))]));
    send(packet);
    ++mStats.linesSent;
}

void Bot::send(Network::Packet& packet)
{
    packet.computeChecksum();
    mOutgoing += packet.serialize();
    if (!mWriteBusy)
        writeNext();
}

void Bot::writeNext()
{
    mWriteBusy = true;
    mWriting.swap(mOutgoing);
    mOutgoing.clear();
    boost::asio::async_write(mSocket, boost::asio::buffer(mWriting),
                             [this](const boost::system::error_code& error, std::size_t) {
                                 mWriteBusy = false;
                                 if (error)
                                 {
                                     if (!mLeaving)
                                         lost("lost the connection: " + error.message());
                                     return;
                                 }
                                 if (!mOutgoing.empty())
                                     writeNext();
                                 else if (mLeaving)
                                     close();
                             });
}

void Bot::lost(const std::string& why)
{
    if (mState != State::Closed)
        print(mName + " " + why);
    close();
}

void Bot::print(const std::string& line) const
{
    if (!mQuiet)
        std::cout << line << std::endl;
}

} // namespace Bots
} // namespace QEL
