#ifndef QEL_SERVER_PACKETREADER_HPP
#define QEL_SERVER_PACKETREADER_HPP

#include "network/Packet.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

namespace QEL
{
namespace Hosting
{

/// Cuts packets out of one client's byte stream, refusing oversized ones from their header
/// alone so that a hostile length never makes the server buffer megabytes.
class PacketReader
{
public:
    /// The largest payload a client can need: a chat line of 65,535 bytes after its 2-byte length.
    static constexpr std::uint32_t MaxClientPayload = 65537;

    enum class Status
    {
        Ready,       ///< a packet with a matching checksum was cut out
        NeedMore,    ///< the next packet is not complete yet
        Oversized,   ///< the next packet announces more than the cap; the stream is unusable
        BadChecksum  ///< the next packet was complete but corrupt (it has been removed)
    };

    explicit PacketReader(std::uint32_t maxPayload = MaxClientPayload);

    void append(const char* data, std::size_t size);

    /// Takes the next packet off the front of the stream.
    Status next(Network::Packet& packet);

    std::size_t getBuffered() const;

private:
    std::string mBuffer;
    std::size_t mStart;  ///< bytes at the front of mBuffer already taken
    std::uint32_t mMaxPayload;
};

} // namespace Hosting
} // namespace QEL

#endif
