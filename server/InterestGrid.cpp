#include "server/InterestGrid.hpp"

#include "server/World.hpp"

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace Hosting
{
namespace
{

/// Neighbours part beyond this multiple of the radius.
constexpr float KeepFactor = 1.1f;

float squaredDistance(const Plym::Math::Vector3& a, const Plym::Math::Vector3& b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return dx * dx + dy * dy;
}

float squaredDistance(const Plym::Math::Vector3& a, float x, float y)
{
    const float dx = a.x - x;
    const float dy = a.y - y;
    return dx * dx + dy * dy;
}

void eraseFrom(std::vector<std::uint32_t>& ids, std::uint32_t id)
{
    const auto found = std::lower_bound(ids.begin(), ids.end(), id);
    if (found != ids.end() && *found == id)
        ids.erase(found);
}

} // namespace

InterestGrid::InterestGrid(float radius) :
mEnter(radius * radius),
mKeep(radius * radius * KeepFactor * KeepFactor),
mCellSize(radius),
mColumns(std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(World::MapSize / radius)))),
mCells(mColumns * mColumns)
{
}

void InterestGrid::place(std::uint32_t player, const Plym::Math::Vector3& position, Change& change)
{
    const auto inserted = mMembers.try_emplace(player);
    Member& member = inserted.first->second;
    const std::size_t cell = columnOf(position.y) * mColumns + columnOf(position.x);
    member.position = position;
    if (inserted.second)
    {
        member.cell = cell;
        mCells[cell].push_back(Resident{player, position.x, position.y});
    }
    else
    {
        moveToCell(player, member, cell);
    }

    change.left.clear();
    change.entered.clear();
    findLeavers(member, change.left);
    for (std::uint32_t other : change.left)
        unlink(player, member, other);
    findNewcomers(player, member, change.entered);
    for (std::uint32_t other : change.entered)
        link(player, member, other);
}

void InterestGrid::remove(std::uint32_t player)
{
    const auto found = mMembers.find(player);
    if (found == mMembers.end())
        return;
    Member& member = found->second;
    for (std::uint32_t other : member.neighbours)
        eraseFrom(mMembers.at(other).neighbours, player);
    std::vector<Resident>& cell = mCells[member.cell];
    cell.erase(std::find_if(cell.begin(), cell.end(), [player](const Resident& r) { return r.player == player; }));
    mMembers.erase(found);
}

const std::vector<std::uint32_t>& InterestGrid::getNeighbours(std::uint32_t player) const
{
    static const std::vector<std::uint32_t> none;
    const auto found = mMembers.find(player);
    return found == mMembers.end() ? none : found->second.neighbours;
}

std::size_t InterestGrid::columnOf(float coordinate) const
{
    // The map's far edge belongs to the last cell.
    const auto column = static_cast<std::size_t>(std::max(0.f, coordinate) / mCellSize);
    return std::min(column, mColumns - 1);
}

void InterestGrid::moveToCell(std::uint32_t player, Member& member, std::size_t cell)
{
    std::vector<Resident>& old = mCells[member.cell];
    const auto found = std::find_if(old.begin(), old.end(), [player](const Resident& r) { return r.player == player; });
    if (cell == member.cell)
    {
        found->x = member.position.x;
        found->y = member.position.y;
        return;
    }
    *found = old.back();
    old.pop_back();
    mCells[cell].push_back(Resident{player, member.position.x, member.position.y});
    member.cell = cell;
}

void InterestGrid::findLeavers(const Member& member, std::vector<std::uint32_t>& left) const
{
    for (std::uint32_t other : member.neighbours)
    {
        if (squaredDistance(member.position, mMembers.at(other).position) > mKeep)
            left.push_back(other);
    }
}

void InterestGrid::findNewcomers(std::uint32_t player, const Member& member, std::vector<std::uint32_t>& entered) const
{
    // Whoever is within one radius lies in the player's cell or one of the eight around it.
    const std::size_t row = member.cell / mColumns;
    const std::size_t column = member.cell % mColumns;
    for (std::size_t r = row > 0 ? row - 1 : 0; r <= std::min(row + 1, mColumns - 1); ++r)
    {
        for (std::size_t c = column > 0 ? column - 1 : 0; c <= std::min(column + 1, mColumns - 1); ++c)
        {
            for (const Resident& other : mCells[r * mColumns + c])
            {
                if (other.player != player && squaredDistance(member.position, other.x, other.y) <= mEnter &&
                    !std::binary_search(member.neighbours.begin(), member.neighbours.end(), other.player))
                    entered.push_back(other.player);
            }
        }
    }
}

void InterestGrid::link(std::uint32_t a, Member& first, std::uint32_t b)
{
    first.neighbours.insert(std::lower_bound(first.neighbours.begin(), first.neighbours.end(), b), b);
    std::vector<std::uint32_t>& others = mMembers.at(b).neighbours;
    others.insert(std::lower_bound(others.begin(), others.end(), a), a);
}

void InterestGrid::unlink(std::uint32_t a, Member& first, std::uint32_t b)
{
    eraseFrom(first.neighbours, b);
    eraseFrom(mMembers.at(b).neighbours, a);
}

} // namespace Hosting
} // namespace QEL
