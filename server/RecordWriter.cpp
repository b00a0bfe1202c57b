#include "server/RecordWriter.hpp"

#include "network/Packet.hpp"
#include "network/Protocol.hpp"

namespace QEL
{
namespace Hosting
{
namespace
{

namespace Protocol = Network::Protocol;

Network::Packet on(std::uint8_t channel)
{
    Network::Packet packet;
    packet.setChannel(channel);
    return packet;
}

void writeVec3(Network::Packet& packet, const Plym::Math::Vector3& v)
{
    packet.writeF32(v.x).writeF32(v.y).writeF32(v.z);
}

std::string finish(Network::Packet& packet)
{
    packet.computeChecksum();
    return packet.serialize();
}

} // namespace

std::string RecordWriter::joinReply(std::uint8_t result)
{
    Network::Packet packet = on(Protocol::CoreChannel);
    packet.writeU8(Protocol::ReplyKind).writeU16(Protocol::JoinReplyCode).writeU8(result);
    return finish(packet);
}

std::string RecordWriter::openChannel(std::uint8_t channel, std::uint8_t type)
{
    Network::Packet packet = on(Protocol::CoreChannel);
    packet.writeU8(Protocol::NoticeKind).writeU16(Protocol::OpenChannelCode).writeU8(channel).writeU8(type).writeU8(0);
    return finish(packet);
}

std::string RecordWriter::channelNotice()
{
    Network::Packet packet = on(Protocol::CoreChannel);
    packet.writeU8(Protocol::NoticeKind).writeU16(Protocol::ChannelNoticeCode).writeU8(0);
    return finish(packet);
}

std::string RecordWriter::entityMessage(std::uint32_t entity, const std::string& name)
{
    Network::Packet packet = on(Protocol::CoreChannel);
    packet.writeU8(Protocol::NoticeKind).writeU16(Protocol::EntityMessageCode).writeU32(entity).writeStr8(name);
    return finish(packet);
}

std::string RecordWriter::playerInfo(std::uint32_t player, const std::string& name,
                                     const Plym::Math::Vector3& position, bool joined)
{
    Network::Packet packet = on(Protocol::StreamChannel);
    packet.writeU8(Protocol::PlayerInfoKind).writeU32(player).writeStr8(name);
    writeVec3(packet, position);
    packet.writeU8(joined ? 1 : 0);
    return finish(packet);
}

std::string RecordWriter::playerQuit(std::uint32_t player)
{
    Network::Packet packet = on(Protocol::StreamChannel);
    packet.writeU8(Protocol::PlayerQuitKind).writeU32(player);
    return finish(packet);
}

std::string RecordWriter::playerMove(std::uint32_t player, const Plym::Math::Vector3& position,
                                     const Plym::Math::Vector3& speed)
{
    Network::Packet packet = on(Protocol::StreamChannel);
    packet.writeU8(Protocol::PlayerMoveKind).writeU32(player);
    writeVec3(packet, position);
    writeVec3(packet, speed);
    return finish(packet);
}

std::string RecordWriter::chatLine(std::uint32_t speaker, const std::string& text)
{
    Network::Packet packet = on(Protocol::ChatChannel);
    packet.writeU32(speaker).writeStr16(text);
    return finish(packet);
}

} // namespace Hosting
} // namespace QEL
