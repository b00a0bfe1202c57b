#include "tools/assetgen/EdgeShape.hpp"

#include "tools/assetgen/Random.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr float Pi = 3.14159265f;
constexpr float Rounding = 4.0f;  // radius of the rounded corner where two sides meet

} // namespace

EdgeShape::EdgeShape(int sides, Corner corner, std::uint32_t seed) : mSides(sides), mCorner(corner), mWaves()
{
    Random random(seed);
    for (auto& wave : mWaves)
    {
        float total = 0.0f;
        for (float& amplitude : wave)
        {
            amplitude = random.real(-1.0f, 1.0f);
            total += std::fabs(amplitude);
        }
        for (float& amplitude : wave)
            amplitude /= std::max(total, 0.5f);
    }
}

const std::array<EdgeShape::Rule, 12>& EdgeShape::rules()
{
    static const std::array<Rule, 12> table = {{
        {East | South, NoCorner, 2, 3, 9},
        {North | West, NoCorner, 2, 0, 8},
        {West | South, NoCorner, 2, 1, 10},
        {North | East, NoCorner, 2, 2, 11},
        {0, SouthWest, 1, 0, 5},
        {0, NorthWest, 1, 1, 7},
        {0, SouthEast, 1, 2, 4},
        {0, NorthEast, 1, 3, 6},
        {West, NoCorner, 0, 0, 1},
        {East, NoCorner, 0, 1, 0},
        {South, NoCorner, 0, 2, 3},
        {North, NoCorner, 0, 3, 2},
    }};
    return table;
}

float EdgeShape::wobble(int line, float t) const
{
    float sum = 0.0f;
    for (std::size_t k = 0; k < mWaves[line].size(); ++k)
        sum += mWaves[line][k] * 0.5f * (1.0f - std::cos(2.0f * Pi * static_cast<float>(k + 1) * t / TileSize));
    return Wobble * sum;
}

float EdgeShape::sideReach(int side, float x, float y) const
{
    switch (side)
    {
    case North: return Depth + wobble(0, x) - y;
    case East:  return Depth + wobble(1, y) - (TileSize - x);
    case South: return Depth + wobble(2, x) - (TileSize - y);
    default:    return Depth + wobble(3, y) - x;
    }
}

float EdgeShape::reach(float x, float y) const
{
    if (mCorner != NoCorner)
    {
        const float cx = (mCorner == NorthEast || mCorner == SouthEast) ? TileSize : 0.0f;
        const float cy = (mCorner == SouthEast || mCorner == SouthWest) ? TileSize : 0.0f;
        const float dx = std::fabs(x - cx);
        const float dy = std::fabs(y - cy);
        // The angle runs from one tile edge (0) to the other (TileSize), like t along a side.
        const float angle = std::atan2(dy, dx) / (0.5f * Pi) * TileSize;
        return Depth + wobble(4, angle) - std::sqrt(dx * dx + dy * dy);
    }
    float a = 1e9f;  // distance into the tile's own biome from the first side's border
    float b = 1e9f;  // and from the second's
    for (int side : {North, East, South, West})
    {
        if (!(mSides & side))
            continue;
        const float own = -sideReach(side, x, y);
        if (a > 1e8f)
            a = own;
        else
            b = own;
    }
    if (b > 1e8f)
        return -a;
    // Own biome is the intersection of both sides' areas, with its corner rounded off.
    const float own = (a < Rounding && b < Rounding)
        ? Rounding - std::hypot(Rounding - a, Rounding - b)
        : std::min(a, b);
    return -own;
}

} // namespace QEL::AssetGen
