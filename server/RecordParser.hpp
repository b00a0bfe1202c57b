#ifndef QEL_SERVER_RECORDPARSER_HPP
#define QEL_SERVER_RECORDPARSER_HPP

#include "server/ClientRecord.hpp"

namespace QEL
{
namespace Network
{
class Packet;
}

namespace Hosting
{

/// Decodes the records clients send. Strict: a record must hold exactly the fields of its
/// kind on the channel it belongs to; anything else comes back Invalid with a reason.
class RecordParser
{
public:
    /// Pure: reads a copy of the packet, never throws.
    static ClientRecord parse(const Network::Packet& packet);

private:
    static ClientRecord parseCore(Network::Packet& packet);
    static ClientRecord parseStream(Network::Packet& packet);
    static ClientRecord parseChat(Network::Packet& packet);
};

} // namespace Hosting
} // namespace QEL

#endif
