#include "server/RecordWriter.hpp"

#include "network/Packet.hpp"
#include "server/RecordParser.hpp"

namespace QEL
{
namespace Hosting
{
namespace
{

constexpr std::uint8_t ReplyKind = 1;
constexpr std::uint8_t AnnounceKind = 2;
constexpr std::uint16_t JoinCode = 1;
constexpr std::uint16_t OpenChannelCode = 16;
constexpr std::uint16_t NoticeCode = 17;
constexpr std::uint16_t EntityCode = 0xBEEF;

constexpr std::uint8_t InfoKind = 0;
constexpr std::uint8_t QuitKind = 1;
constexpr std::uint8_t MoveKind = 2;

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
    Network::Packet packet = on(RecordParser::CoreChannel);
    packet.writeU8(ReplyKind).writeU16(JoinCode).writeU8(result);
    return finish(packet);
}

std::string RecordWriter::openChannel(std::uint8_t channel, std::uint8_t type)
{
    Network::Packet packet = on(RecordParser::CoreChannel);
    packet.writeU8(AnnounceKind).writeU16(OpenChannelCode).writeU8(channel).writeU8(type).writeU8(0);
    return finish(packet);
}

std::string RecordWriter::channelNotice()
{
    Network::Packet packet = on(RecordParser::CoreChannel);
    packet.writeU8(AnnounceKind).writeU16(NoticeCode).writeU8(0);
    return finish(packet);
}

std::string RecordWriter::entityMessage(std::uint32_t entity, const std::string& name)
{
    Network::Packet packet = on(RecordParser::CoreChannel);
    packet.writeU8(AnnounceKind).writeU16(EntityCode).writeU32(entity).writeStr8(name);
    return finish(packet);
}

std::string RecordWriter::playerInfo(std::uint32_t player, const std::string& name,
                                     const Plym::Math::Vector3& position, bool joined)
{
    Network::Packet packet = on(RecordParser::StreamChannel);
    packet.writeU8(InfoKind).writeU32(player).writeStr8(name);
    writeVec3(packet, position);
    packet.writeU8(joined ? 1 : 0);
    return finish(packet);
}

std::string RecordWriter::playerQuit(std::uint32_t player)
{
    Network::Packet packet = on(RecordParser::StreamChannel);
    packet.writeU8(QuitKind).writeU32(player);
    return finish(packet);
}

std::string RecordWriter::playerMove(std::uint32_t player, const Plym::Math::Vector3& position,
                                     const Plym::Math::Vector3& speed)
{
    Network::Packet packet = on(RecordParser::StreamChannel);
    packet.writeU8(MoveKind).writeU32(player);
    writeVec3(packet, position);
    writeVec3(packet, speed);
    return finish(packet);
}

std::string RecordWriter::chatLine(std::uint32_t speaker, const std::string& text)
{
    Network::Packet packet = on(RecordParser::ChatChannel);
    packet.writeU32(speaker).writeStr16(text);
    return finish(packet);
}

} // namespace Hosting
} // namespace QEL
