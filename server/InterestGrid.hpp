#ifndef QEL_SERVER_INTERESTGRID_HPP
#define QEL_SERVER_INTERESTGRID_HPP

#include "plym/core/Vector3.hpp"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace QEL
{
namespace Hosting
{

/// Who hears whose movement. Two players are neighbours while they are near each other on the
/// map (height does not count): they become neighbours at the interest radius or nearer and stay
/// so until they are more than a tenth farther apart, so that players walking along the edge do
/// not flicker in and out. Candidates are found through a grid of square cells one radius wide.
class InterestGrid
{
public:
    /// Who came into and who left a player's area with its last placement.
    struct Change
    {
        std::vector<std::uint32_t> entered;
        std::vector<std::uint32_t> left;
    };

    explicit InterestGrid(float radius);

    /// Puts a new or known player at `position` (which must be on the map) and fills `change`.
    void place(std::uint32_t player, const Plym::Math::Vector3& position, Change& change);

    /// Takes a player out of the grid and out of every neighbour's list.
    void remove(std::uint32_t player);

    /// The player's neighbours in increasing id order; empty for a player not placed.
    const std::vector<std::uint32_t>& getNeighbours(std::uint32_t player) const;

private:
    /// A player in a cell, with its place, so that a look at the cell needs nothing else.
    struct Resident
    {
        std::uint32_t player;
        float x;
        float y;
    };

    struct Member
    {
        Plym::Math::Vector3 position;
        std::size_t cell = 0;
        std::vector<std::uint32_t> neighbours;  ///< sorted
    };

    std::size_t columnOf(float coordinate) const;
    /// Moves the player's entry to `cell` (when it changed) and sets its place there.
    void moveToCell(std::uint32_t player, Member& member, std::size_t cell);
    void findLeavers(const Member& member, std::vector<std::uint32_t>& left) const;
    void findNewcomers(std::uint32_t player, const Member& member, std::vector<std::uint32_t>& entered) const;
    void link(std::uint32_t a, Member& first, std::uint32_t b);
    void unlink(std::uint32_t a, Member& first, std::uint32_t b);

    float mEnter;  ///< squared distance at which players become neighbours
    float mKeep;   ///< squared distance beyond which they stop being neighbours
    float mCellSize;
    std::size_t mColumns;
    std::vector<std::vector<Resident>> mCells;
    std::unordered_map<std::uint32_t, Member> mMembers;
};

} // namespace Hosting
} // namespace QEL

#endif
