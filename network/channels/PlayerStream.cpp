#include "network/channels/PlayerStream.hpp"

#include "ecs/EntitySystem.hpp"
#include "network/ControlCharacters.hpp"
#include "network/WordFilter.hpp"

#include <SFML/System/String.hpp>

#include <cmath>
#include <string>
#include <tuple>

namespace QEL
{
namespace Network
{
namespace Channels
{
namespace
{

bool isFinite(const Plym::Math::Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

/// A name as the chat box shows it.
sf::String getShownName(sf::String name)
{
    filterText(name);
    return name;
}

} // namespace

PlayerStream::PlayerStream(ConsoleLog& console) : mConsole(console)
{
}

void PlayerStream::handle(Packet& packet, const Endpoint&)
{
    std::uint8_t kind;
    std::uint32_t playerId;
    packet.readU8(kind).readU32(playerId);

    if (kind == PlayerInfo)
    {
        sf::String name;
        Plym::Math::Vector3 position;
        std::uint8_t joined;
        packet.readStr8(name).readVec3(position).readU8(joined);
        replaceControlCharacters(name);
        playerInfo(playerId, name, position, joined == 0);
    }
    else if (kind == PlayerQuit)
    {
        playerQuit(playerId);
    }
    else if (kind == PlayerMove)
    {
        Plym::Math::Vector3 position, speed;
        packet.readVec3(position).readVec3(speed);
        playerMove(playerId, position, speed);
    }
}

std::vector<Tessaly::EntityId> PlayerStream::releaseEntities()
{
    std::vector<Tessaly::EntityId> entities;
    for (const auto& player : mPlayers)
        entities.push_back(player.second);
    mPlayers.clear();
    mNames.clear();
    return entities;
}

Tessaly::EntityId PlayerStream::getPlayerEntity(std::uint32_t playerId) const
{
    const auto it = mPlayers.find(playerId);
    return it == mPlayers.end() ? 0 : it->second;
}

Packet PlayerStream::makeStreamRecord(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    Packet packet;
    packet.setChannel(OutgoingChannel);
    packet.writeU8(PlayerMove)
        .writeF32(position.x).writeF32(position.y).writeF32(position.z)
        .writeF32(speed.x).writeF32(speed.y).writeF32(speed.z);
    return packet;
}

void PlayerStream::playerInfo(std::uint32_t playerId, const sf::String& name, const Plym::Math::Vector3& position, bool existing)
{
    if (mNames.size() >= MaxPlayers && mNames.count(playerId) == 0)
    {
        mConsole.say("player cap", "Ignored player '" + toUtf8(name) + "': " + std::to_string(MaxPlayers) +
                                       " players are shown already");
        return;
    }
    // Printed as UTF-8, the console's encoding, so that no character of the name is lost.
    if (existing)
        mConsole.say("player info", "Recieved info for existing player '" + toUtf8(name) + "'.");
    else
        mConsole.say("player joined", "Player '" + toUtf8(name) + "' joined!");
    if (!existing)
        tell(getShownName(name) + " joined");
    mNames[playerId] = name;

    // A repeated announcement replaces the player's entity instead of leaving a stray one behind.
    forgetPlayer(playerId);

    Tessaly::EntitySystem& system = getEntitySystem();
    const Tessaly::EntityId entity = system.instantiate("QEL.Man");
    if (entity == 0 || !system.hasEntity(entity))
    {
        mConsole.say("player failed", "Failed to join player...");
        return;
    }
    mPlayers[playerId] = entity;
    sendLocal(entity, "Man.SetName", std::tuple<unsigned int, sf::String>(playerId, name));
    if (isFinite(position))
        sendLocal(entity, "SetPosition", position);
}

void PlayerStream::playerQuit(std::uint32_t playerId)
{
    mConsole.say("player quit", "Player id " + std::to_string(playerId) + " quit");
    const auto known = mNames.find(playerId);
    if (known != mNames.end())
    {
        tell(getShownName(known->second) + " left");
        mNames.erase(known);
    }
    forgetPlayer(playerId);
}

void PlayerStream::playerMove(std::uint32_t playerId, const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    const Tessaly::EntityId entity = getPlayerEntity(playerId);
    if (entity == 0 || !getEntitySystem().hasEntity(entity))
        return;
    if (isFinite(position))
        sendLocal(entity, "SetPosition", position);
    if (isFinite(speed))
        sendLocal(entity, "SetSpeed", speed);
}

void PlayerStream::forgetPlayer(std::uint32_t playerId)
{
    const auto it = mPlayers.find(playerId);
    if (it == mPlayers.end())
        return;
    Tessaly::EntitySystem& system = getEntitySystem();
    if (system.hasEntity(it->second))
        system.destroyEntity(it->second);
    mPlayers.erase(it);
}

} // namespace Channels
} // namespace Network
} // namespace QEL
