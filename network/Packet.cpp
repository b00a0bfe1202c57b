#include "network/Packet.hpp"

#include "plym/core/CRC32.hpp"

#include <boost/nowide/utf/convert.hpp>
#include <boost/nowide/utf/utf.hpp>

#include <cstring>
#include <stdexcept>

namespace QEL
{
namespace Network
{
namespace
{

const char* const ReadFailed = "Packet reading failed!";

// Every byte that does not start a valid sequence becomes U+FFFD and decoding resumes at the
// next byte, so text from the network is always well-formed and no good character is lost.
sf::String fromUtf8(const std::string& bytes)
{
    using Traits = boost::nowide::utf::utf_traits<char>;
    std::basic_string<sf::Uint32> text;
    const char* position = bytes.data();
    const char* const end = position + bytes.size();
    while (position != end)
    {
        const char* next = position;
        const boost::nowide::utf::code_point c = Traits::decode(next, end);
        if (c == boost::nowide::utf::illegal || c == boost::nowide::utf::incomplete)
        {
            text.push_back(0xFFFD);
            ++position;
        }
        else
        {
            text.push_back(c);
            position = next;
        }
    }
    return sf::String(text);
}

std::string sanitizeUtf8(const std::string& bytes)
{
    return toUtf8(fromUtf8(bytes));
}

// Number of leading bytes of `utf8` that fit in `limit` without splitting a character.
std::size_t cutAtCharacter(const std::string& utf8, std::size_t limit)
{
    if (utf8.size() <= limit)
        return utf8.size();
    std::size_t size = limit;
    while (size > 0 && (static_cast<unsigned char>(utf8[size]) & 0xC0) == 0x80)
        --size;
    return size;
}

std::uint32_t readLittleEndian(const char* data, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

} // namespace

Packet::Packet() :
mChecksum(0),
mLength(0),
mChannel(0),
mReadPosition(0)
{
}

Packet& Packet::writeU8(std::uint8_t value)
{
    mPayload.push_back(static_cast<char>(value));
    ++mLength;
    return *this;
}

Packet& Packet::writeU16(std::uint16_t value)
{
    return writeU8(value & 0xFF).writeU8(value >> 8);
}

Packet& Packet::writeU32(std::uint32_t value)
{
    return writeU16(value & 0xFFFF).writeU16(value >> 16);
}

Packet& Packet::writeF32(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return writeU32(bits);
}

Packet& Packet::writeStr8(const sf::String& text)
{
    return writeStr8(toUtf8(text));
}

Packet& Packet::writeStr8(const std::string& utf8)
{
    const std::size_t size = cutAtCharacter(utf8, 0xFF);
    writeU8(static_cast<std::uint8_t>(size));
    mPayload.append(utf8, 0, size);
    mLength += static_cast<std::uint32_t>(size);
    return *this;
}

Packet& Packet::writeStr16(const sf::String& text)
{
    return writeStr16(toUtf8(text));
}

Packet& Packet::writeStr16(const std::string& utf8)
{
    const std::size_t size = cutAtCharacter(utf8, 0xFFFF);
    writeU16(static_cast<std::uint16_t>(size));
    mPayload.append(utf8, 0, size);
    mLength += static_cast<std::uint32_t>(size);
    return *this;
}

const char* Packet::take(std::size_t size)
{
    if (getRemaining() < size)
        throw std::runtime_error(ReadFailed);
    const char* data = mPayload.data() + mReadPosition;
    mReadPosition += size;
    return data;
}

Packet& Packet::readU8(std::uint8_t& value)
{
    value = static_cast<std::uint8_t>(readLittleEndian(take(1), 1));
    return *this;
}

Packet& Packet::readU16(std::uint16_t& value)
{
    value = static_cast<std::uint16_t>(readLittleEndian(take(2), 2));
    return *this;
}

Packet& Packet::readU32(std::uint32_t& value)
{
    value = readLittleEndian(take(4), 4);
    return *this;
}

Packet& Packet::readF32(float& value)
{
    const std::uint32_t bits = readLittleEndian(take(4), 4);
    std::memcpy(&value, &bits, sizeof(value));
    return *this;
}

Packet& Packet::readVec3(Plym::Math::Vector3& value)
{
    // Checked as a whole so that a short vector consumes nothing.
    if (getRemaining() < 12)
        throw std::runtime_error(ReadFailed);
    return readF32(value.x).readF32(value.y).readF32(value.z);
}

Packet& Packet::readStr8(sf::String& text)
{
    std::uint8_t size;
    readU8(size);
    text = fromUtf8(std::string(take(size), size));
    return *this;
}

Packet& Packet::readStr8(std::string& utf8)
{
    std::uint8_t size;
    readU8(size);
    utf8 = sanitizeUtf8(std::string(take(size), size));
    return *this;
}

Packet& Packet::readStr16(sf::String& text)
{
    std::uint16_t size;
    readU16(size);
    text = fromUtf8(std::string(take(size), size));
    return *this;
}

Packet& Packet::readStr16(std::string& utf8)
{
    std::uint16_t size;
    readU16(size);
    utf8 = sanitizeUtf8(std::string(take(size), size));
    return *this;
}

void Packet::setChannel(std::uint8_t channel)
{
    mChannel = channel;
}

std::uint8_t Packet::getChannel() const
{
    return mChannel;
}

std::uint32_t Packet::getChecksum() const
{
    return mChecksum;
}

std::uint32_t Packet::getLength() const
{
    return mLength;
}

const std::string& Packet::getPayload() const
{
    return mPayload;
}

std::size_t Packet::getRemaining() const
{
    return mPayload.size() - mReadPosition;
}

void Packet::computeChecksum()
{
    mChecksum = Plym::FastMath::CRC32::calculateCRC(mPayload);
}

bool Packet::checksumMatches() const
{
    return Plym::FastMath::CRC32::calculateCRC(mPayload) == mChecksum;
}

std::string Packet::serialize() const
{
    std::string bytes;
    bytes.reserve(HeaderSize + mPayload.size());
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((mChecksum >> shift) & 0xFF));
    for (int shift = 0; shift < 24; shift += 8)
        bytes.push_back(static_cast<char>((mLength >> shift) & 0xFF));
    bytes.push_back(static_cast<char>(mChannel));
    bytes += mPayload;
    return bytes;
}

Packet::Extraction Packet::extract(const std::string& accumulator, Packet& packet)
{
    return extract(accumulator.data(), accumulator.size(), packet);
}

Packet::Extraction Packet::extract(const char* data, std::size_t size, Packet& packet)
{
    if (size < HeaderSize)
        return Extraction::Incomplete;
    const std::uint32_t length = readLittleEndian(data + 4, 3);
    if (size < HeaderSize + length)
        return Extraction::Incomplete;

    packet = Packet();
    packet.mChecksum = readLittleEndian(data, 4);
    packet.mLength = length;
    packet.mChannel = static_cast<std::uint8_t>(data[7]);
    packet.mPayload.assign(data + HeaderSize, length);
    return packet.checksumMatches() ? Extraction::Complete : Extraction::BadChecksum;
}

bool Packet::extractPacket(const std::string& accumulator, Packet& packet)
{
    return extract(accumulator, packet) == Extraction::Complete;
}

std::size_t Packet::getWireSize() const
{
    return HeaderSize + mPayload.size();
}

std::string toUtf8(const sf::String& text)
{
    const sf::Uint32* begin = text.getData();
    return boost::nowide::utf::convert_string<char>(begin, begin + text.getSize());
}

} // namespace Network
} // namespace QEL
