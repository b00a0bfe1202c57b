#include "server/World.hpp"

#include "network/ControlCharacters.hpp"
#include "network/Protocol.hpp"

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace Hosting
{
namespace
{

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// Names differing only in ASCII case count as the same, so nobody can pose as another player.
bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool isClean(const std::string& name)
{
    return Network::cleanText(name, name.size()) == name;
}

bool isWorldEventName(const std::string& name)
{
    const auto& names = Network::Protocol::WorldEventNames;
    return std::any_of(std::begin(names), std::end(names), [&name](const char* known) { return name == known; });
}

} // namespace

const Plym::Math::Vector3 World::SpawnPosition(11520.f, 11520.f, 0.f);

bool World::isFinite(const Plym::Math::Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool World::isPlausible(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    return isFinite(position) && isFinite(speed) && position.x >= 0.f && position.x <= MapSize && position.y >= 0.f &&
           position.y <= MapSize;
}

World::World(std::size_t maxPlayers, std::size_t maxEvents, std::uint32_t maxEntity) :
mMaxPlayers(maxPlayers),
mMaxEvents(maxEvents),
mMaxEntity(maxEntity),
mNextId(1)
{
}

World::Refusal World::check(const std::string& name) const
{
    if (name.empty())
        return Refusal::Empty;
    if (name.size() > MaxNameBytes)
        return Refusal::TooLong;
    if (!isClean(name))
        return Refusal::Invalid;
    const auto taken = std::any_of(mPlayers.begin(), mPlayers.end(),
                                   [&name](const auto& entry) { return sameName(entry.second.name, name); });
    if (taken)
        return Refusal::Taken;
    if (mPlayers.size() >= mMaxPlayers)
        return Refusal::Full;
    return Refusal::None;
}

std::uint32_t World::add(const std::string& name)
{
    const std::uint32_t id = mNextId++;
    mPlayers[id] = Player{name, SpawnPosition, Plym::Math::Vector3()};
    return id;
}

void World::remove(std::uint32_t player)
{
    mPlayers.erase(player);
}

bool World::move(std::uint32_t player, const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    const auto found = mPlayers.find(player);
    if (found == mPlayers.end() || !isPlausible(position, speed))
        return false;
    found->second.position = position;
    found->second.speed = speed;
    return true;
}

World::EventVerdict World::record(std::uint32_t entity, const std::string& name)
{
    if (!isWorldEventName(name))
        return EventVerdict::UnknownName;
    // Entity ids start at 1.
    if (entity == 0 || entity > mMaxEntity)
        return EventVerdict::BadEntity;
    if (mEvents.size() >= mMaxEvents)
        return mKnownEvents.count({entity, name}) ? EventVerdict::Known : EventVerdict::New;
    if (!mKnownEvents.emplace(entity, name).second)
        return EventVerdict::Known;
    mEvents.push_back(Event{entity, name});
    return EventVerdict::New;
}

const std::map<std::uint32_t, World::Player>& World::getPlayers() const
{
    return mPlayers;
}

const std::vector<World::Event>& World::getEvents() const
{
    return mEvents;
}

const char* World::describe(Refusal refusal)
{
    switch (refusal)
    {
    case Refusal::None:
        return "accepted";
    case Refusal::Empty:
        return "empty name";
    case Refusal::TooLong:
        return "name too long";
    case Refusal::Invalid:
        return "name has control characters";
    case Refusal::Taken:
        return "name taken";
    case Refusal::Full:
        return "server full";
    }
    return "refused";
}

const char* World::describe(EventVerdict verdict)
{
    switch (verdict)
    {
    case EventVerdict::New:
        return "new";
    case EventVerdict::Known:
        return "known";
    case EventVerdict::UnknownName:
        return "unknown name";
    case EventVerdict::BadEntity:
        return "entity id out of range";
    }
    return "ignored";
}

std::uint8_t World::getJoinResult(Refusal refusal)
{
    switch (refusal)
    {
    case Refusal::None:
        return Network::Protocol::JoinAccepted;
    case Refusal::Taken:
        return Network::Protocol::JoinNameTaken;
    case Refusal::Full:
        return Network::Protocol::JoinServerFull;
    default:
        return Network::Protocol::JoinInvalidName;
    }
}

} // namespace Hosting
} // namespace QEL
