#ifndef QEL_ACTORS_MAPEDGE_HPP
#define QEL_ACTORS_MAPEDGE_HPP

namespace QEL
{
namespace MapEdge
{

/// A tile position that may lie outside the map.
struct Tile
{
    int x;
    int y;
};

/// The tile under a world position (each coordinate truncated toward zero);
/// a position that is not finite counts as far outside.
Tile tileAt(float x, float y);

bool inside(unsigned width, unsigned height, Tile tile);

/// The inside tile a creature that strayed off the map walks back to: the nearest one.
/// (Stepping up, left or down onto the map and otherwise right ends on that same tile when
/// starting left of the map or next to it; from farther above, right or below it would
/// walk right forever.)
Tile walkBack(unsigned width, unsigned height, Tile tile);

} // namespace MapEdge
} // namespace QEL

#endif
