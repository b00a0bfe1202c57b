#include "server/World.hpp"

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace Hosting
{
namespace
{

bool isFinite(const Plym::Math::Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

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

bool hasControlCharacter(const std::string& name)
{
    return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

} // namespace

const Plym::Math::Vector3 World::SpawnPosition(11520.f, 11520.f, 0.f);

World::World(std::size_t maxPlayers, std::size_t maxEvents) : mMaxPlayers(maxPlayers), mMaxEvents(maxEvents), mNextId(1)
{
}

World::Refusal World::check(const std::string& name) const
{
    if (name.empty())
        return Refusal::Empty;
    if (name.size() > MaxNameBytes)
        return Refusal::TooLong;
    if (hasControlCharacter(name))
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
    mPlayers[id] = Player{name, SpawnPosition};
    return id;
}

void World::remove(std::uint32_t player)
{
    mPlayers.erase(player);
}

bool World::move(std::uint32_t player, const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed)
{
    const auto found = mPlayers.find(player);
    if (found == mPlayers.end() || !isFinite(position) || !isFinite(speed))
        return false;
    found->second.position = position;
    return true;
}

bool World::record(std::uint32_t entity, const std::string& name)
{
    if (mEvents.size() >= mMaxEvents || !mKnownEvents.emplace(entity, name).second)
        return false;
    mEvents.push_back(Event{entity, name});
    return true;
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

} // namespace Hosting
} // namespace QEL
