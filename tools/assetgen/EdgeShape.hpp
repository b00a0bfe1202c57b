#ifndef QEL_ASSETGEN_EDGESHAPE_HPP
#define QEL_ASSETGEN_EDGESHAPE_HPP

#include <array>
#include <cstdint>

namespace QEL::AssetGen {

// Where a neighbouring biome reaches into a transition tile: along one side, along two
// adjacent sides (the tile is a corner of its own biome), or only into one corner.
// The border line wobbles, but it always meets the tile's edges at the same depth and at a
// right angle, so any two transition tiles laid side by side continue each other's line.
class EdgeShape {
public:
    enum Side { North = 1, East = 2, South = 4, West = 8 };
    enum Corner { NoCorner, NorthEast, SouthEast, SouthWest, NorthWest };

    // One line of the world's border rule table: the neighbour case it stands for and the
    // cells that show it in the edge layout (3 x 4) and the surf layout (12 columns).
    struct Rule {
        int sides;
        Corner corner;
        int edgeColumn;
        int edgeRow;
        int surfColumn;
    };

    static constexpr float TileSize = 30.0f;   // art pixels per tile
    static constexpr float Depth = 7.0f;       // how far the neighbour reaches in, at the tile edges
    static constexpr float Wobble = 2.5f;      // largest departure from Depth inside the tile

    EdgeShape(int sides, Corner corner, std::uint32_t seed);

    // The rules in the order the world tries them.
    static const std::array<Rule, 12>& rules();

    // Signed distance of an art-pixel point from the border: positive inside the neighbour's area.
    float reach(float x, float y) const;

private:
    // Wobble along an edge, t in [0, TileSize]: zero with zero slope at both ends.
    float wobble(int line, float t) const;
    float sideReach(int side, float x, float y) const;

    int mSides;
    Corner mCorner;
    std::array<std::array<float, 2>, 5> mWaves;
};

} // namespace QEL::AssetGen

#endif
