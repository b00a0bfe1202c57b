#include "server/RecordParser.hpp"

#include "network/Packet.hpp"

#include <stdexcept>

namespace QEL
{
namespace Hosting
{
namespace
{

constexpr std::uint8_t ClientKind = 0;
constexpr std::uint8_t StreamKind = 2;
constexpr std::uint16_t JoinCode = 1;
constexpr std::uint16_t KeepAliveCode = 0xBEA7;
constexpr std::uint16_t LeaveCode = 0xDEAD;
constexpr std::uint16_t EntityCode = 0xBEEF;

ClientRecord invalid(const char* error)
{
    ClientRecord record;
    record.error = error;
    return record;
}

ClientRecord withType(ClientRecord::Type type)
{
    ClientRecord record;
    record.type = type;
    return record;
}

} // namespace

ClientRecord RecordParser::parse(const Network::Packet& original)
{
    Network::Packet packet = original;
    ClientRecord record;
    try
    {
        switch (packet.getChannel())
        {
        case CoreChannel:
            record = parseCore(packet);
            break;
        case StreamChannel:
            record = parseStream(packet);
            break;
        case ChatChannel:
            record = parseChat(packet);
            break;
        default:
            return invalid("unknown channel");
        }
    }
    catch (const std::runtime_error&)
    {
        return invalid("truncated record");
    }
    if (record.type != ClientRecord::Invalid && packet.getRemaining() != 0)
        return invalid("trailing bytes");
    return record;
}

ClientRecord RecordParser::parseCore(Network::Packet& packet)
{
    std::uint8_t kind = 0;
    std::uint16_t code = 0;
    packet.readU8(kind).readU16(code);
    if (kind != ClientKind)
        return invalid("unknown kind");

    ClientRecord record;
    switch (code)
    {
    case JoinCode:
        record.type = ClientRecord::JoinRequest;
        packet.readStr8(record.name);
        return record;
    case KeepAliveCode:
        return withType(ClientRecord::KeepAlive);
    case LeaveCode:
        return withType(ClientRecord::Leave);
    case EntityCode:
        record.type = ClientRecord::EntityMessage;
        packet.readU32(record.entity).readStr8(record.name);
        return record;
    default:
        return invalid("unknown code");
    }
}

ClientRecord RecordParser::parseStream(Network::Packet& packet)
{
    std::uint8_t kind = 0;
    packet.readU8(kind);
    if (kind != StreamKind)
        return invalid("unknown kind");

    ClientRecord record;
    record.type = ClientRecord::PlayerStream;
    packet.readVec3(record.position).readVec3(record.speed);
    return record;
}

ClientRecord RecordParser::parseChat(Network::Packet& packet)
{
    ClientRecord record;
    record.type = ClientRecord::ChatLine;
    packet.readStr16(record.text);
    return record;
}

} // namespace Hosting
} // namespace QEL
