#ifndef QEL_SERVER_WORLD_HPP
#define QEL_SERVER_WORLD_HPP

#include "plym/core/Vector3.hpp"

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace QEL
{
namespace Hosting
{

/// What the server knows of the shared game: who is present, where each player last was,
/// and the world events (felled trees, picked rosebuds...) a late joiner must be told.
class World
{
public:
    /// Why a name cannot join.
    enum class Refusal
    {
        None,
        Empty,
        TooLong,
        Invalid,  ///< holds control characters
        Taken,
        Full
    };

    /// What becomes of a world event a player caused.
    enum class EventVerdict
    {
        New,          ///< relay it (and it is remembered while the store has room)
        Known,        ///< already told to everybody: nothing to relay
        UnknownName,  ///< not a name the game uses
        BadEntity     ///< no entity a world can hold has this id
    };

    struct Player
    {
        std::string name;
        Plym::Math::Vector3 position;
        Plym::Math::Vector3 speed;
    };

    /// A named message to an entity, as clients exchange them.
    struct Event
    {
        std::uint32_t entity;
        std::string name;
    };

    static constexpr std::size_t MaxNameBytes = 24;

    /// Width and height of the map in world units: 256 tiles of 90.
    static constexpr float MapSize = 23040.f;

    /// Where a player stands until its first movement record: the world's centre.
    static const Plym::Math::Vector3 SpawnPosition;

    World(std::size_t maxPlayers, std::size_t maxEvents, std::uint32_t maxEntity);

    Refusal check(const std::string& name) const;

    /// Adds a player whose name passed check(); returns its id (never reused, never 0).
    std::uint32_t add(const std::string& name);

    void remove(std::uint32_t player);

    /// Stores the player's position and speed; false (and nothing stored) when the movement is not
    /// plausible.
    bool move(std::uint32_t player, const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);

    /// Judges a world event and remembers a new one while the store has room.
    EventVerdict record(std::uint32_t entity, const std::string& name);

    const std::map<std::uint32_t, Player>& getPlayers() const;
    const std::vector<Event>& getEvents() const;

    /// Whether every value is finite (no NaN, no infinity).
    static bool isFinite(const Plym::Math::Vector3& v);

    /// Whether a movement can be a player's: every value finite, and x and y on the map (the
    /// height is free: a jump may take a player anywhere above it).
    static bool isPlausible(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);

    static const char* describe(Refusal refusal);
    static const char* describe(EventVerdict verdict);

    /// The JoinReply result that tells a client why it was refused (0 for None).
    static std::uint8_t getJoinResult(Refusal refusal);

private:
    std::size_t mMaxPlayers;
    std::size_t mMaxEvents;
    std::uint32_t mMaxEntity;
    std::uint32_t mNextId;
    std::map<std::uint32_t, Player> mPlayers;
    std::vector<Event> mEvents;
    std::set<std::pair<std::uint32_t, std::string>> mKnownEvents;
};

} // namespace Hosting
} // namespace QEL

#endif
