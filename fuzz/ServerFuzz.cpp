// The server's input under the fuzzer: the record parser, and the packet cutting in front of it.
//
// Input layout, chosen by the first byte (mod 3):
//   0: byte 1 is a channel, the rest a payload handed to the record parser;
//   1: the rest is a raw client byte stream, fed to the packet reader in 7-byte chunks;
//   2: the rest is a list of [channel][n][n payload bytes] packets, sent with correct checksums
//      so that complete packets reach the parser.
// Invariants: the parser never throws; a valid record, written again the way a client writes
// it, parses to the same record; an invalid one names its error; the reader never buffers more
// than one capped packet plus a chunk. The server's checks on what a record carries: cleaned
// text (from the parsed record and from the raw payload) keeps to its limit, is valid UTF-8
// free of control characters and comes out the same when cleaned again; a name the world admits
// is clean; a world event is new only with a name the game uses and an id in range, and is
// known the second time.

#include "fuzz/Invariant.hpp"
#include "network/ControlCharacters.hpp"
#include "network/Packet.hpp"
#include "network/Protocol.hpp"
#include "server/PacketReader.hpp"
#include "server/RecordParser.hpp"
#include "server/World.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

using QEL::Hosting::ClientRecord;
using QEL::Hosting::PacketReader;
using QEL::Hosting::RecordParser;
using QEL::Hosting::World;
using QEL::Network::cleanText;
using QEL::Network::Packet;

using QEL::Fuzzing::requireInvariant;

bool sameBits(const Plym::Math::Vector3& a, const Plym::Math::Vector3& b)
{
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

void writeVec3(Packet& packet, const Plym::Math::Vector3& v)
{
    packet.writeF32(v.x).writeF32(v.y).writeF32(v.z);
}

/// The record as a client would send it.
Packet rewrite(const ClientRecord& record)
{
    Packet packet;
    switch (record.type)
    {
    case ClientRecord::JoinRequest:
        packet.writeU8(0).writeU16(1).writeStr8(record.name);
        break;
    case ClientRecord::KeepAlive:
        packet.writeU8(0).writeU16(0xBEA7);
        break;
    case ClientRecord::Leave:
        packet.writeU8(0).writeU16(0xDEAD);
        break;
    case ClientRecord::EntityMessage:
        packet.writeU8(0).writeU16(0xBEEF).writeU32(record.entity).writeStr8(record.name);
        break;
    case ClientRecord::PlayerStream:
        packet.setChannel(1);
        packet.writeU8(2);
        writeVec3(packet, record.position);
        writeVec3(packet, record.speed);
        break;
    case ClientRecord::ChatLine:
        packet.setChannel(2);
        packet.writeStr16(record.text);
        break;
    case ClientRecord::Invalid:
        break;
    }
    return packet;
}

constexpr std::uint32_t MaxEntity = 70000;

void checkCleaning(const std::string& text)
{
    // Limits that cut anywhere, inside characters too.
    const std::size_t limit = text.size() % 1100;
    const std::string clean = cleanText(text, limit);
    requireInvariant(clean.size() <= limit, "cleaned text keeps to its limit");
    requireInvariant(cleanText(clean, clean.size()) == clean, "cleaned text is valid UTF-8 without control characters");
}

bool isGameEvent(const std::string& name)
{
    for (const char* known : QEL::Network::Protocol::WorldEventNames)
    {
        if (name == known)
            return true;
    }
    return false;
}

void checkServerRules(const ClientRecord& record)
{
    World world(4, 16, MaxEntity);
    switch (record.type)
    {
    case ClientRecord::ChatLine:
        checkCleaning(record.text);
        break;
    case ClientRecord::JoinRequest:
        if (world.check(record.name) == World::Refusal::None)
            requireInvariant(cleanText(record.name, record.name.size()) == record.name, "an admitted name is clean");
        break;
    case ClientRecord::EntityMessage:
    {
        const bool fits = isGameEvent(record.name) && record.entity >= 1 && record.entity <= MaxEntity;
        requireInvariant((world.record(record.entity, record.name) == World::EventVerdict::New) == fits,
                         "a world event is new exactly when the game uses its name and id");
        if (fits)
            requireInvariant(world.record(record.entity, record.name) == World::EventVerdict::Known,
                             "a world event is known the second time");
        break;
    }
    default:
        break;
    }
}

void check(const Packet& packet)
{
    const ClientRecord record = RecordParser::parse(packet);
    if (record.type == ClientRecord::Invalid)
    {
        requireInvariant(record.error != nullptr && record.error[0] != '\0', "an invalid record names its error");
        return;
    }
    checkServerRules(record);
    const ClientRecord again = RecordParser::parse(rewrite(record));
    requireInvariant(again.type == record.type, "a rewritten record keeps its type");
    // Repaired UTF-8 may outgrow its length prefix; writing it again then cuts it.
    requireInvariant(record.name.compare(0, again.name.size(), again.name) == 0 &&
                record.text.compare(0, again.text.size(), again.text) == 0,
            "a rewritten record keeps its texts, or the start of them");
    requireInvariant((record.name.size() > 255 || again.name == record.name) &&
                (record.text.size() > 65535 || again.text == record.text),
            "a rewritten record keeps texts that fit whole");
    requireInvariant(again.entity == record.entity, "a rewritten record keeps its entity");
    requireInvariant(sameBits(again.position, record.position) && sameBits(again.speed, record.speed),
            "a rewritten record keeps its vectors");
}

void feed(PacketReader& reader, const std::string& stream)
{
    constexpr std::size_t Chunk = 7;
    Packet packet;
    for (std::size_t at = 0; at < stream.size(); at += Chunk)
    {
        reader.append(stream.data() + at, std::min(Chunk, stream.size() - at));
        for (;;)
        {
            const PacketReader::Status status = reader.next(packet);
            if (status == PacketReader::Status::Oversized)
                return;
            if (status == PacketReader::Status::NeedMore)
                break;
            if (status == PacketReader::Status::Ready)
                check(packet);
        }
        requireInvariant(reader.getBuffered() <= Packet::HeaderSize + PacketReader::MaxClientPayload + Chunk,
                "the reader holds at most one capped packet and a chunk");
    }
}

std::string buildStream(const std::uint8_t* data, std::size_t size)
{
    std::string stream;
    std::size_t at = 0;
    while (at + 2 <= size)
    {
        Packet packet;
        packet.setChannel(data[at]);
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        for (std::size_t i = 0; i < length; ++i)
            packet.writeU8(data[at + 2 + i]);
        packet.computeChecksum();
        stream += packet.serialize();
        at += 2 + length;
    }
    return stream;
}

void runOne(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return;
    const std::uint8_t mode = data[0] % 3;
    ++data;
    --size;
    if (mode == 0)
    {
        if (size < 1)
            return;
        Packet packet;
        packet.setChannel(data[0]);
        for (std::size_t i = 1; i < size; ++i)
            packet.writeU8(data[i]);
        check(packet);
        checkCleaning(packet.getPayload());
        return;
    }
    PacketReader reader;
    if (mode == 1)
        feed(reader, std::string(reinterpret_cast<const char*>(data), size));
    else
        feed(reader, buildStream(data, size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    runOne(data, size);
    return 0;
}
