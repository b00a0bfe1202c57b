#include "server/RecordParser.hpp"

#include "network/Packet.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using QEL::Hosting::ClientRecord;
using QEL::Hosting::RecordParser;
using QEL::Network::Packet;

namespace
{

Packet on(std::uint8_t channel)
{
    Packet packet;
    packet.setChannel(channel);
    return packet;
}

Packet core(std::uint16_t code)
{
    Packet packet = on(0);
    packet.writeU8(0).writeU16(code);
    return packet;
}

Packet stream(float x)
{
    Packet packet = on(1);
    packet.writeU8(2);
    for (float v : {x, 2.f, 3.f, -4.f, 5.5f, 0.f})
        packet.writeF32(v);
    return packet;
}

/// The same channel with only the first `size` payload bytes.
Packet cut(const Packet& whole, std::size_t size)
{
    Packet packet = on(whole.getChannel());
    for (std::size_t i = 0; i < size; ++i)
        packet.writeU8(static_cast<std::uint8_t>(whole.getPayload()[i]));
    return packet;
}

} // namespace

TEST(RecordParser, DecodesEveryClientRecord)
{
    Packet join = core(1);
    join.writeStr8(std::string("Ysolde"));
    ClientRecord record = RecordParser::parse(join);
    EXPECT_EQ(record.type, ClientRecord::JoinRequest);
    EXPECT_EQ(record.name, "Ysolde");

    EXPECT_EQ(RecordParser::parse(core(0xBEA7)).type, ClientRecord::KeepAlive);
    EXPECT_EQ(RecordParser::parse(core(0xDEAD)).type, ClientRecord::Leave);

    Packet entity = core(0xBEEF);
    entity.writeU32(0xDEADBEEF).writeStr8(std::string("#REKT"));
    record = RecordParser::parse(entity);
    EXPECT_EQ(record.type, ClientRecord::EntityMessage);
    EXPECT_EQ(record.entity, 0xDEADBEEFu);
    EXPECT_EQ(record.name, "#REKT");

    record = RecordParser::parse(stream(1.f));
    EXPECT_EQ(record.type, ClientRecord::PlayerStream);
    EXPECT_EQ(record.position, Plym::Math::Vector3(1.f, 2.f, 3.f));
    EXPECT_EQ(record.speed, Plym::Math::Vector3(-4.f, 5.5f, 0.f));

    Packet chat = on(2);
    chat.writeStr16(std::string("h\xC3\xA9llo"));
    record = RecordParser::parse(chat);
    EXPECT_EQ(record.type, ClientRecord::ChatLine);
    EXPECT_EQ(record.text, "h\xC3\xA9llo");
}

TEST(RecordParser, EveryTruncationIsInvalid)
{
    Packet join = core(1);
    join.writeStr8(std::string("name"));
    Packet entity = core(0xBEEF);
    entity.writeU32(9).writeStr8(std::string("Rosebud"));
    Packet chat = on(2);
    chat.writeStr16(std::string("hello"));

    for (const Packet& whole : {join, entity, stream(1.f), chat})
    {
        for (std::size_t size = 0; size < whole.getPayload().size(); ++size)
        {
            const ClientRecord record = RecordParser::parse(cut(whole, size));
            EXPECT_EQ(record.type, ClientRecord::Invalid) << "channel " << int(whole.getChannel()) << ", " << size << " bytes";
            EXPECT_STRNE(record.error, "");
        }
    }
}

TEST(RecordParser, RefusesWhatNoClientSends)
{
    Packet serverKind = on(0);
    serverKind.writeU8(2).writeU16(0xBEEF).writeU32(1).writeStr8(std::string("x"));
    EXPECT_STREQ(RecordParser::parse(serverKind).error, "unknown kind");

    EXPECT_STREQ(RecordParser::parse(core(0x1234)).error, "unknown code");

    Packet infoKind = on(1);
    infoKind.writeU8(0);
    infoKind.writeU32(1);
    EXPECT_STREQ(RecordParser::parse(infoKind).error, "unknown kind");

    Packet otherChannel = on(3);
    otherChannel.writeU8(0);
    EXPECT_STREQ(RecordParser::parse(otherChannel).error, "unknown channel");

    Packet longer = core(0xBEA7);
    longer.writeU8(0);
    EXPECT_STREQ(RecordParser::parse(longer).error, "trailing bytes");
    Packet longerStream = stream(1.f);
    longerStream.writeF32(1.f);
    EXPECT_STREQ(RecordParser::parse(longerStream).error, "trailing bytes");
}

TEST(RecordParser, KeepsNonFiniteValuesForTheServerToJudge)
{
    // Deciding what to do with them is the server's business; the record itself is well formed.
    const ClientRecord record = RecordParser::parse(stream(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(record.type, ClientRecord::PlayerStream);
    EXPECT_TRUE(std::isnan(record.position.x));
}

TEST(RecordParser, InvalidUtf8InANameArrivesWellFormed)
{
    Packet join = core(1);
    join.writeU8(3).writeU8(0x61).writeU8(0xFF).writeU8(0x62);
    const ClientRecord record = RecordParser::parse(join);
    ASSERT_EQ(record.type, ClientRecord::JoinRequest);
    EXPECT_EQ(record.name, "a\xEF\xBF\xBD" "b");
}
