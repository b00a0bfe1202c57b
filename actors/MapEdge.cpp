#include "actors/MapEdge.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

namespace QEL
{
namespace MapEdge
{
namespace
{

int tileCoordinate(float position)
{
    const float tile = std::trunc(position / 90.f);
    if (!std::isfinite(tile) || tile < static_cast<float>(INT_MIN / 2) || tile > static_cast<float>(INT_MAX / 2))
        return INT_MIN / 2;
    return static_cast<int>(tile);
}

} // namespace

Tile tileAt(float x, float y)
{
    return Tile{tileCoordinate(x), tileCoordinate(y)};
}

bool inside(unsigned width, unsigned height, Tile tile)
{
    return tile.x >= 0 && tile.y >= 0 && static_cast<unsigned>(tile.x) < width && static_cast<unsigned>(tile.y) < height;
}

Tile walkBack(unsigned width, unsigned height, Tile tile)
{
    const int lastColumn = std::max(static_cast<int>(width) - 1, 0);
    const int lastRow = std::max(static_cast<int>(height) - 1, 0);
    return Tile{std::clamp(tile.x, 0, lastColumn), std::clamp(tile.y, 0, lastRow)};
}

} // namespace MapEdge
} // namespace QEL
