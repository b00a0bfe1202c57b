#ifndef QEL_NETWORK_PACKET_HPP
#define QEL_NETWORK_PACKET_HPP

#include "plym/core/Vector3.hpp"

#include <SFML/System/String.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

namespace QEL
{
namespace Network
{

/// One message of the wire protocol: an 8-byte header (CRC-32 of the payload, 24-bit
/// payload length, channel id) followed by the payload. Writes append encoded fields,
/// reads consume them from a cursor; every operation returns the packet so calls chain.
class Packet
{
public:
    /// Outcome of cutting a packet out of a receive buffer.
    enum class Extraction
    {
        Incomplete,  ///< fewer than header + payload bytes are buffered
        Complete,    ///< a whole packet whose checksum matches
        BadChecksum  ///< a whole packet whose checksum does not match
    };

    static constexpr std::size_t HeaderSize = 8;
    static constexpr std::uint32_t MaxPayload = 0xFFFFFF;
    /// Largest payload a client sends (room for the longest chat line, a str16 of 65535 bytes);
    /// the server drops a client that exceeds it.
    static constexpr std::uint32_t MaxClientPayload = 2 + 0xFFFF;

    Packet();

    Packet& writeU8(std::uint8_t value);
    Packet& writeU16(std::uint16_t value);
    Packet& writeU32(std::uint32_t value);
    Packet& writeF32(float value);
    /// Writes UTF-8 text with a one-byte length; text over 255 bytes is cut at a character boundary.
    Packet& writeStr8(const sf::String& text);
    Packet& writeStr8(const std::string& utf8);
    /// Writes UTF-8 text with a two-byte length; text over 65535 bytes is cut at a character boundary.
    Packet& writeStr16(const sf::String& text);
    Packet& writeStr16(const std::string& utf8);

    // Reads throw std::runtime_error("Packet reading failed!") and consume nothing
    // when fewer bytes remain than the field needs.
    Packet& readU8(std::uint8_t& value);
    Packet& readU16(std::uint16_t& value);
    Packet& readU32(std::uint32_t& value);
    Packet& readF32(float& value);
    Packet& readVec3(Plym::Math::Vector3& value);
    /// Reads length-prefixed UTF-8; invalid sequences decode to U+FFFD.
    Packet& readStr8(sf::String& text);
    Packet& readStr8(std::string& utf8);
    Packet& readStr16(sf::String& text);
    Packet& readStr16(std::string& utf8);

    void setChannel(std::uint8_t channel);
    std::uint8_t getChannel() const;
    std::uint32_t getChecksum() const;
    std::uint32_t getLength() const;
    const std::string& getPayload() const;
    /// Bytes left to read after the cursor.
    std::size_t getRemaining() const;

    /// checksum := CRC-32 of the payload.
    void computeChecksum();
    bool checksumMatches() const;

    /// The header and payload as they travel (length field = low 24 bits of the length).
    std::string serialize() const;

    /// Cuts the first packet out of the front of `accumulator` (which it does not modify);
    /// the caller removes getWireSize() bytes on Complete and on BadChecksum.
    static Extraction extract(const std::string& accumulator, Packet& packet);
    static Extraction extract(const char* data, std::size_t size, Packet& packet);

    /// The plain form: true only for a complete packet whose checksum matches.
    static bool extractPacket(const std::string& accumulator, Packet& packet);

    /// Header plus payload bytes of a packet cut out by extract().
    std::size_t getWireSize() const;

private:
    /// Advances the cursor past `size` bytes and returns where they start; throws when fewer remain.
    const char* take(std::size_t size);

    std::uint32_t mChecksum;
    std::uint32_t mLength;
    std::uint8_t mChannel;
    std::string mPayload;
    std::size_t mReadPosition;
};

/// Text as it travels: UTF-8, invalid code points replaced.
std::string toUtf8(const sf::String& text);

} // namespace Network
} // namespace QEL

#endif
