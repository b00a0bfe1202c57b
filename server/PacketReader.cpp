#include "server/PacketReader.hpp"

namespace QEL
{
namespace Hosting
{

PacketReader::PacketReader(std::uint32_t maxPayload) : mStart(0), mMaxPayload(maxPayload)
{
}

void PacketReader::append(const char* data, std::size_t size)
{
    mBuffer.erase(0, mStart);
    mStart = 0;
    mBuffer.append(data, size);
}

PacketReader::Status PacketReader::next(Network::Packet& packet)
{
    const char* data = mBuffer.data() + mStart;
    const std::size_t size = getBuffered();
    if (size < Network::Packet::HeaderSize)
        return Status::NeedMore;
    const auto byte = [data](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])); };
    const std::uint32_t length = byte(4) | byte(5) << 8 | byte(6) << 16;
    if (length > mMaxPayload)
        return Status::Oversized;

    const auto extraction = Network::Packet::extract(data, size, packet);
    if (extraction == Network::Packet::Extraction::Incomplete)
        return Status::NeedMore;
    mStart += packet.getWireSize();
    return extraction == Network::Packet::Extraction::Complete ? Status::Ready : Status::BadChecksum;
}

std::size_t PacketReader::getBuffered() const
{
    return mBuffer.size() - mStart;
}

} // namespace Hosting
} // namespace QEL
