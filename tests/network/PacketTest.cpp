#include "network/Packet.hpp"
#include "network/ReadThread.hpp"
#include "tests/network/TestPeer.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <stdexcept>

using QEL::Network::Packet;
using QEL::Network::ReadThread;

namespace
{

sf::String utf32(std::initializer_list<sf::Uint32> codePoints)
{
    return sf::String(std::basic_string<sf::Uint32>(codePoints));
}

void expectReadFails(const std::function<void()>& read)
{
    try
    {
        read();
        ADD_FAILURE() << "the read did not fail";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Packet reading failed!");
    }
}

} // namespace

TEST(Packet, WritesFieldsLittleEndianAndCountsLength)
{
    Packet packet;
    packet.writeU8(0xAB).writeU16(0x1234).writeU32(0xDEADBEEF).writeF32(1.0f);
    EXPECT_EQ(packet.getPayload(), bytes({0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(packet.getLength(), 11u);
}

TEST(Packet, ReadsBackWhatWasWritten)
{
    Packet packet;
    packet.writeU8(7).writeU16(0xBEEF).writeU32(123456789).writeF32(-2.5f).writeF32(0.25f).writeF32(1e30f)
        .writeStr8(sf::String("name")).writeStr16(std::string("line"));
    std::uint8_t u8;
    std::uint16_t u16;
    std::uint32_t u32;
    Plym::Math::Vector3 vector;
    std::string name;
    sf::String line;
    packet.readU8(u8).readU16(u16).readU32(u32).readVec3(vector).readStr8(name).readStr16(line);
    EXPECT_EQ(u8, 7);
    EXPECT_EQ(u16, 0xBEEF);
    EXPECT_EQ(u32, 123456789u);
    EXPECT_EQ(vector, Plym::Math::Vector3(-2.5f, 0.25f, 1e30f));
    EXPECT_EQ(name, "name");
    EXPECT_EQ(line, sf::String("line"));
    EXPECT_EQ(packet.getRemaining(), 0u);
}

TEST(Packet, TextIsUtf8WithItsByteCount)
{
    Packet empty;
    empty.writeStr8(sf::String());
    EXPECT_EQ(empty.getPayload(), bytes({0}));

    Packet accent;
    accent.writeStr8(utf32({0xE9}));
    EXPECT_EQ(accent.getPayload(), bytes({0x02, 0xC3, 0xA9}));
    EXPECT_EQ(accent.getLength(), 3u);

    Packet wide;
    wide.writeStr16(utf32({0x1F642}));
    EXPECT_EQ(wide.getPayload(), bytes({0x04, 0x00, 0xF0, 0x9F, 0x99, 0x82}));

    sf::String back;
    wide.readStr16(back);
    EXPECT_EQ(back, utf32({0x1F642}));
}

TEST(Packet, OverlongTextIsCutAtACharacterBoundary)
{
    // 200 two-byte characters: 400 bytes, more than a one-byte count can hold.
    const sf::String accents(std::basic_string<sf::Uint32>(200, 0xE9));
    Packet packet;
    packet.writeStr8(accents);
    ASSERT_EQ(packet.getPayload().size(), 1u + 254u);
    EXPECT_EQ(static_cast<unsigned char>(packet.getPayload()[0]), 254);
    sf::String back;
    packet.readStr8(back);
    EXPECT_EQ(back, sf::String(std::basic_string<sf::Uint32>(127, 0xE9)));

    // 70,000 bytes of four-byte characters against the 65,535 of a two-byte count.
    const sf::String faces(std::basic_string<sf::Uint32>(17500, 0x1F642));
    Packet line;
    line.writeStr16(faces);
    EXPECT_EQ(line.getLength(), 2u + 65532u);
    line.readStr16(back);
    EXPECT_EQ(back.getSize(), 16383u);

    Packet ascii;
    ascii.writeStr8(std::string(300, 'x'));
    EXPECT_EQ(ascii.getLength(), 256u);
}

TEST(Packet, InvalidUtf8DecodesToReplacementCharacters)
{
    Packet packet = makePacket(0, bytes({0x05, 'a', 0xFF, 0xC3, 'b', 0x80}));
    sf::String text;
    packet.readStr8(text);
    ASSERT_EQ(text.getSize(), 5u);
    EXPECT_EQ(text[0], sf::Uint32('a'));
    EXPECT_EQ(text[1], 0xFFFDu);
    EXPECT_EQ(text[2], 0xFFFDu);
    EXPECT_EQ(text[3], sf::Uint32('b'));
    EXPECT_EQ(text[4], 0xFFFDu);

    Packet narrow = makePacket(0, bytes({0x02, 0xED, 0xA0}));
    std::string utf8;
    narrow.readStr8(utf8);
    EXPECT_EQ(utf8, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Packet, ShortReadsFailAndConsumeNothing)
{
    Packet packet = makePacket(0, bytes({1, 2, 3}));
    std::uint32_t u32;
    expectReadFails([&] { packet.readU32(u32); });
    EXPECT_EQ(packet.getRemaining(), 3u);

    Plym::Math::Vector3 vector;
    Packet elevenBytes = makePacket(0, std::string(11, '\0'));
    expectReadFails([&] { elevenBytes.readVec3(vector); });
    EXPECT_EQ(elevenBytes.getRemaining(), 11u);

    // A text whose bytes are missing keeps its count consumed.
    Packet text = makePacket(0, bytes({5, 'a', 'b'}));
    std::string value;
    expectReadFails([&] { text.readStr8(value); });
    EXPECT_EQ(text.getRemaining(), 2u);

    Packet empty;
    std::uint8_t u8;
    expectReadFails([&] { empty.readU8(u8); });
}

TEST(Packet, SerializesHeaderWithChecksum)
{
    Packet keepAlive = makePacket(0, bytes({0x00, 0xA7, 0xBE}));
    keepAlive.computeChecksum();
    // CRC-32 (IEEE) of 00 A7 BE is 0x32DE6DB7.
    EXPECT_EQ(keepAlive.serialize(), bytes({0xB7, 0x6D, 0xDE, 0x32, 0x03, 0x00, 0x00, 0x00, 0x00, 0xA7, 0xBE}));

    Packet empty;
    empty.setChannel(9);
    empty.computeChecksum();
    EXPECT_EQ(empty.serialize(), bytes({0, 0, 0, 0, 0, 0, 0, 9}));
}

TEST(Packet, ExtractionNeedsTheWholePacketAndAMatchingChecksum)
{
    const std::string wire = wireBytes(makePacket(4, "hello"));
    Packet packet;
    for (std::size_t size = 0; size < wire.size(); ++size)
        EXPECT_EQ(Packet::extract(wire.substr(0, size), packet), Packet::Extraction::Incomplete) << size;

    ASSERT_EQ(Packet::extract(wire + "trailing", packet), Packet::Extraction::Complete);
    EXPECT_EQ(packet.getChannel(), 4);
    EXPECT_EQ(packet.getPayload(), "hello");
    EXPECT_EQ(packet.getRemaining(), 5u);
    EXPECT_EQ(packet.getWireSize(), wire.size());

    std::string corrupt = wire;
    corrupt.back() ^= 0x01;
    EXPECT_EQ(Packet::extract(corrupt, packet), Packet::Extraction::BadChecksum);
    EXPECT_FALSE(Packet::extractPacket(corrupt, packet));
    EXPECT_EQ(packet.getWireSize(), wire.size());
}

TEST(Packet, LengthIsTwentyFourBits)
{
    std::string header = bytes({0, 0, 0, 0, 0x10, 0x00, 0x01, 3});
    Packet packet;
    EXPECT_EQ(Packet::extract(header + std::string(65551, 'x'), packet), Packet::Extraction::Incomplete);
    EXPECT_EQ(Packet::extract(header + std::string(65552, 'x'), packet), Packet::Extraction::BadChecksum);
    EXPECT_EQ(packet.getLength(), 65552u);
}

TEST(ReadThreadCutting, WaitsForEveryByteOfAPacket)
{
    const std::string wire = wireBytes(makePacket(1, "abc"));
    std::string accumulator;
    std::deque<Packet> queue;
    for (char byte : wire)
    {
        EXPECT_TRUE(queue.empty());
        accumulator.push_back(byte);
        ReadThread::cutPackets(accumulator, queue);
    }
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().getPayload(), "abc");
    EXPECT_TRUE(accumulator.empty());
}

TEST(ReadThreadCutting, CutsEveryPacketOfAChunkInOrderAndKeepsTheRest)
{
    const std::string partial = wireBytes(makePacket(3, "third")).substr(0, 9);
    std::string accumulator = wireBytes(makePacket(1, "first")) + wireBytes(makePacket(2, "")) + partial;
    std::deque<Packet> queue;
    EXPECT_TRUE(ReadThread::cutPackets(accumulator, queue).empty());
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].getPayload(), "first");
    EXPECT_EQ(queue[1].getChannel(), 2);
    EXPECT_EQ(accumulator, partial);
}

TEST(ReadThreadCutting, DropsABadPacketAndGoesOn)
{
    std::string bad = wireBytes(makePacket(6, "bad"));
    bad[0] ^= 0x55;
    std::string accumulator = bad + wireBytes(makePacket(1, "good"));
    std::deque<Packet> queue;
    EXPECT_EQ(ReadThread::cutPackets(accumulator, queue), std::vector<std::uint8_t>{6});
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().getPayload(), "good");
    EXPECT_TRUE(accumulator.empty());
}
