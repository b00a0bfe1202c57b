#include "tools/assetgen/MapGenerator.hpp"

#include "tools/assetgen/PeriodicNoise.hpp"

#include <algorithm>
#include <cmath>
#include <deque>

namespace QEL::AssetGen {

namespace {

constexpr int N = MapGenerator::Size;
constexpr float Centre = N / 2.0f;
constexpr float Pi = 3.14159265f;

// The inland lake, north-east of the start.
constexpr float LakeX = 151.0f;
constexpr float LakeY = 100.0f;
// A small dark pond west of the start.
constexpr float PondX = 103.0f;
constexpr float PondY = 116.0f;

bool isLand(MapGenerator::Biome biome)
{
    return biome != MapGenerator::ShWater && biome != MapGenerator::DeWater;
}

// Neighbour offsets in the order N, NE, E, SE, S, SW, W, NW.
const int Dx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
const int Dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

// The neighbours (bit i = direction i) that the world's transition picture for these flags shows:
// the first matching rule's sides with their corners, or its one corner.
unsigned shownNeighbours(unsigned flags)
{
    auto has = [flags](unsigned mask) { return (flags & mask) == mask; };
    const unsigned n = 1, ne = 2, e = 4, se = 8, s = 16, sw = 32, w = 64, nw = 128;
    const unsigned northSide = nw | n | ne, eastSide = ne | e | se, southSide = se | s | sw, westSide = sw | w | nw;
    if (has(e | se | s)) return eastSide | southSide;
    if (has(n | nw | w)) return northSide | westSide;
    if (has(w | sw | s)) return westSide | southSide;
    if (has(n | ne | e)) return northSide | eastSide;
    if (has(sw) && !(flags & (s | w))) return sw;
    if (has(nw) && !(flags & (n | w))) return nw;
    if (has(se) && !(flags & (e | s))) return se;
    if (has(ne) && !(flags & (n | e))) return ne;
    if (flags & w) return westSide;
    if (flags & e) return eastSide;
    if (flags & s) return southSide;
    if (flags & n) return northSide;
    return 0;
}

} // namespace

MapGenerator::MapGenerator() : mTiles(N * N, DeWater)
{
    raiseIsland();
    shapeCoast();
    placeDesert();
    growForests();
    digLake();
    clearStart();
    settleBorders();
}

MapGenerator::Biome& MapGenerator::cell(int x, int y)
{
    return mTiles[static_cast<std::size_t>(y * N + x)];
}

MapGenerator::Biome MapGenerator::at(int x, int y) const
{
    return mTiles[static_cast<std::size_t>(y * N + x)];
}

sf::Color MapGenerator::colorOf(Biome biome)
{
    switch (biome)
    {
    case Forest:  return sf::Color(18, 152, 0, 255);
    case Grass:   return sf::Color(30, 255, 0, 255);
    case ShWater: return sf::Color(64, 49, 252, 255);
    case DeWater: return sf::Color(16, 4, 184, 255);
    case Desert:  return sf::Color(167, 179, 108, 255);
    case Beach:
    default:      return sf::Color(218, 255, 47, 255);
    }
}

Canvas MapGenerator::paint() const
{
    Canvas map(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            map.set(x, y, colorOf(at(x, y)));
    return map;
}

template <class Predicate>
std::vector<int> MapGenerator::distanceTo(Predicate target, int cap) const
{
    std::vector<int> distance(mTiles.size(), cap);
    std::deque<int> queue;
    for (int i = 0; i < N * N; ++i)
        if (target(mTiles[static_cast<std::size_t>(i)]))
        {
            distance[static_cast<std::size_t>(i)] = 0;
            queue.push_back(i);
        }
    while (!queue.empty())
    {
        const int i = queue.front();
        queue.pop_front();
        const int next = distance[static_cast<std::size_t>(i)] + 1;
        if (next >= cap)
            continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
            {
                const int x = i % N + dx;
                const int y = i / N + dy;
                if (x < 0 || y < 0 || x >= N || y >= N)
                    continue;
                const std::size_t j = static_cast<std::size_t>(y * N + x);
                if (distance[j] > next)
                {
                    distance[j] = next;
                    queue.push_back(static_cast<int>(j));
                }
            }
    }
    return distance;
}

void MapGenerator::raiseIsland()
{
    const PeriodicNoise noise(N, 2001);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
        {
            const float r = std::hypot(x + 0.5f - Centre, y + 0.5f - Centre);
            const int border = std::min(std::min(x, y), std::min(N - 1 - x, N - 1 - y));
            float height = 1.0f - r / 100.0f + 0.9f * (noise.fractal(x, y, 5, 4) - 0.5f);
            height -= std::max(0, 14 - border) * 0.15f;  // keep open sea along the map's edge
            cell(x, y) = height > 0.0f ? Grass : DeWater;
        }
    // A majority vote rounds off one-tile spits and inlets.
    for (int round = 0; round < 2; ++round)
    {
        const std::vector<Biome> before = mTiles;
        for (int y = 1; y < N - 1; ++y)
            for (int x = 1; x < N - 1; ++x)
            {
                int land = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        land += before[static_cast<std::size_t>((y + dy) * N + x + dx)] == Grass ? 1 : 0;
                cell(x, y) = land >= 5 ? Grass : DeWater;
            }
    }
}

void MapGenerator::shapeCoast()
{
    const PeriodicNoise noise(N, 2101);
    const std::vector<int> toLand = distanceTo(isLand, 16);
    const std::vector<int> toWater = distanceTo([](Biome b) { return !isLand(b); }, 16);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
        {
            const std::size_t i = static_cast<std::size_t>(y * N + x);
            const float wiggle = noise.fractal(x, y, 8, 2);
            if (!isLand(mTiles[i]))
                mTiles[i] = toLand[i] <= 2 + static_cast<int>(wiggle * 4.0f) ? ShWater : DeWater;
            else if (toWater[i] <= 1 + (wiggle > 0.62f ? 1 : 0))
                mTiles[i] = Beach;
        }
}

void MapGenerator::placeDesert()
{
    const PeriodicNoise noise(N, 2201);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
        {
            const float d = std::hypot(x - 178.0f, y - 176.0f);
            if (cell(x, y) == Grass && d < 42.0f + 30.0f * (noise.fractal(x, y, 6, 3) - 0.5f))
                cell(x, y) = Desert;
        }
    // No thin meadow strips between desert and beach: the desert runs down to the shore there.
    const std::vector<int> toDesert = distanceTo([](Biome b) { return b == Desert; }, 4);
    const std::vector<int> toBeach = distanceTo([](Biome b) { return b == Beach; }, 4);
    for (std::size_t i = 0; i < mTiles.size(); ++i)
        if (mTiles[i] == Grass && toDesert[i] + toBeach[i] <= 3)
            mTiles[i] = Desert;
}

void MapGenerator::growForests()
{
    const PeriodicNoise noise(N, 2301);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            if (cell(x, y) == Grass && noise.fractal(x, y, 8, 3) > 0.53f)
                cell(x, y) = Forest;
    // Forests keep two tiles of meadow between them and any sand or water.
    const std::vector<int> toOpen = distanceTo([](Biome b) { return b != Grass && b != Forest; }, 4);
    for (std::size_t i = 0; i < mTiles.size(); ++i)
        if (mTiles[i] == Forest && toOpen[i] <= 2)
            mTiles[i] = Grass;
}

void MapGenerator::digLake()
{
    const PeriodicNoise noise(N, 2401);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
        {
            const float dx = x + 0.5f - LakeX;
            const float dy = y + 0.5f - LakeY;
            const float angle = std::atan2(dy, dx);
            const float radius = 11.0f + 5.0f * (noise.fractal(angle / Pi * 40.0f, 0.0f, 4, 2) - 0.5f);
            const float d = std::hypot(dx, dy);
            // Along its northern shore the deep water reaches the meadow directly.
            const bool steep = angle < -0.45f * Pi && angle > -0.8f * Pi;
            if (d < radius * (steep ? 1.0f : 0.55f))
                cell(x, y) = DeWater;
            else if (d < radius)
                cell(x, y) = ShWater;
            else if (d < radius + 3.0f)
                cell(x, y) = Grass;
            const float pond = std::hypot(x + 0.5f - PondX, y + 0.5f - PondY);
            if (pond < 2.6f)
                cell(x, y) = DeWater;
            else if (pond < 5.5f)
                cell(x, y) = Grass;
        }
}

void MapGenerator::clearStart()
{
    // The player starts on the centre tile: a meadow five tiles across and more.
    const int c = N / 2;
    for (int y = c - 3; y <= c + 3; ++y)
        for (int x = c - 3; x <= c + 3; ++x)
            cell(x, y) = Grass;
}

} // namespace QEL::AssetGen

namespace QEL::AssetGen {

MapGenerator::Biome MapGenerator::biomeOr(int x, int y, Biome outside) const
{
    return (x < 0 || y < 0 || x >= N || y >= N) ? outside : at(x, y);
}

void MapGenerator::settleBorders()
{
    for (int round = 0; round < 64; ++round)
    {
        bool changed = false;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                changed = settleTile(x, y) || changed;
        if (!changed)
            return;
    }
}

bool MapGenerator::settleTile(int x, int y)
{
    const Biome self = at(x, y);
    unsigned present = 0;  // bit per biome found among the eight neighbours
    for (int i = 0; i < 8; ++i)
        present |= 1u << biomeOr(x + Dx[i], y + Dy[i], self);
    auto touches = [present](Biome b) { return (present & (1u << b)) != 0; };
    auto become = [&](Biome b) {
        cell(x, y) = b;
        return true;
    };
    // Pairs that have no transition picture at all.
    if (self == Forest && (present & ~((1u << Forest) | (1u << Grass))))
        return become(Grass);
    if (self == Desert && (touches(ShWater) || touches(DeWater)))
        return become(Beach);
    if (self == DeWater && (touches(Beach) || touches(Desert) || touches(Forest)))
        return become(ShWater);
    // Sources of transition pictures: the targets they are drawn against, in drawing order.
    std::vector<Biome> targets;
    if (self == Grass)
        targets = {DeWater, ShWater, Desert, Beach};
    else if (self == ShWater)
        targets = {DeWater};
    else if (self == Beach)
        targets = {ShWater};
    std::vector<Biome> found;
    for (Biome target : targets)
        if (touches(target))
            found.push_back(target);
    if (found.empty())
        return false;
    // Where meadow, desert and beach meet, the tile shows its beach border only; changing it
    // would just move the meeting point along the desert's edge.
    if (found.size() == 2 && found[0] == Desert && found[1] == Beach)
        return false;
    if (found.size() > 1)
        return become(touches(ShWater) ? ShWater : touches(Beach) ? Beach : found.back());
    unsigned flags = 0;
    for (int i = 0; i < 8; ++i)
        if (biomeOr(x + Dx[i], y + Dy[i], self) == found[0])
            flags |= 1u << i;
    if ((flags & ~shownNeighbours(flags)) == 0)
        return false;
    return become(found[0]);
}

} // namespace QEL::AssetGen
