#include "server/PacketReader.hpp"

#include <gtest/gtest.h>

using QEL::Hosting::PacketReader;
using QEL::Network::Packet;

namespace
{

std::string wire(std::uint8_t channel, const std::string& payload)
{
    Packet packet;
    packet.setChannel(channel);
    for (char c : payload)
        packet.writeU8(static_cast<std::uint8_t>(c));
    packet.computeChecksum();
    return packet.serialize();
}

/// Only a header announcing `length` payload bytes.
std::string header(std::uint32_t length)
{
    std::string bytes(8, '\0');
    bytes[4] = static_cast<char>(length & 0xFF);
    bytes[5] = static_cast<char>((length >> 8) & 0xFF);
    bytes[6] = static_cast<char>((length >> 16) & 0xFF);
    return bytes;
}

} // namespace

TEST(PacketReader, ReassemblesPacketsFromAnySplitOfTheStream)
{
    const std::string first = wire(1, "abc");
    const std::string second = wire(2, "");
    const std::string stream = first + second;

    PacketReader reader;
    Packet packet;
    std::vector<Packet> packets;
    for (char byte : stream)
    {
        reader.append(&byte, 1);
        while (reader.next(packet) == PacketReader::Status::Ready)
            packets.push_back(packet);
    }
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].getChannel(), 1);
    EXPECT_EQ(packets[0].getPayload(), "abc");
    EXPECT_EQ(packets[1].getChannel(), 2);
    EXPECT_EQ(reader.getBuffered(), 0u);

    // Both packets in one chunk come out in order in the same pass.
    PacketReader whole;
    whole.append(stream.data(), stream.size());
    ASSERT_EQ(whole.next(packet), PacketReader::Status::Ready);
    EXPECT_EQ(packet.getPayload(), "abc");
    ASSERT_EQ(whole.next(packet), PacketReader::Status::Ready);
    EXPECT_EQ(packet.getChannel(), 2);
    EXPECT_EQ(whole.next(packet), PacketReader::Status::NeedMore);
}

TEST(PacketReader, RefusesAnOversizedPacketFromItsHeader)
{
    PacketReader reader(100);
    Packet packet;
    const std::string atCap = header(100);
    reader.append(atCap.data(), atCap.size());
    EXPECT_EQ(reader.next(packet), PacketReader::Status::NeedMore);

    PacketReader hostile(100);
    const std::string over = header(101);
    hostile.append(over.data(), over.size());
    EXPECT_EQ(hostile.next(packet), PacketReader::Status::Oversized);

    PacketReader defaults;
    const std::string huge = header(0xFFFFFF);
    defaults.append(huge.data(), huge.size());
    EXPECT_EQ(defaults.next(packet), PacketReader::Status::Oversized);
}

TEST(PacketReader, TheLargestChatLineFitsUnderTheCap)
{
    Packet chat;
    chat.setChannel(2);
    chat.writeStr16(std::string(65535, 'a'));
    chat.computeChecksum();
    const std::string bytes = chat.serialize();

    PacketReader reader;
    reader.append(bytes.data(), bytes.size());
    Packet packet;
    EXPECT_EQ(reader.next(packet), PacketReader::Status::Ready);
    EXPECT_EQ(packet.getLength(), 65537u);
}

TEST(PacketReader, ReportsACorruptPacketAndMovesPastIt)
{
    std::string corrupt = wire(1, "abc");
    corrupt[9] ^= 0x20;
    const std::string stream = corrupt + wire(2, "ok");

    PacketReader reader;
    reader.append(stream.data(), stream.size());
    Packet packet;
    EXPECT_EQ(reader.next(packet), PacketReader::Status::BadChecksum);
    ASSERT_EQ(reader.next(packet), PacketReader::Status::Ready);
    EXPECT_EQ(packet.getPayload(), "ok");
}
