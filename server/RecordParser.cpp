#include "server/RecordParser.hpp"

#include "network/Packet.hpp"
#include "network/Protocol.hpp"

#include <stdexcept>

namespace QEL
{
namespace Hosting
{
namespace
{

namespace Protocol = Network::Protocol;

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
        case Protocol::CoreChannel:
            record = parseCore(packet);
            break;
        case Protocol::StreamChannel:
            record = parseStream(packet);
            break;
        case Protocol::ChatChannel:
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
    if (kind != Protocol::RequestKind)
        return invalid("unknown kind");

    ClientRecord record;
    switch (code)
    {
    case Protocol::JoinRequestCode:
        record.type = ClientRecord::JoinRequest;
        packet.readStr8(record.name);
        return record;
    case Protocol::KeepAliveCode:
        return withType(ClientRecord::KeepAlive);
    case Protocol::LeaveCode:
        return withType(ClientRecord::Leave);
    case Protocol::EntityMessageCode:
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
    if (kind != Protocol::PlayerMoveKind)
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
