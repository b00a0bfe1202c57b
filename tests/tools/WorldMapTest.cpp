// The world map: an island in the six biome colours whose borders the transition tiles can draw.
#include "tests/tools/AssetImages.hpp"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <set>
#include <string>
#include <vector>

namespace {

enum Biome { Unknown, Forest, Grass, ShWater, DeWater, Desert, Beach };

const std::array<sf::Color, 7> Colors = {sf::Color::Transparent,     sf::Color(18, 152, 0, 255),  sf::Color(30, 255, 0, 255),
                                         sf::Color(64, 49, 252, 255), sf::Color(16, 4, 184, 255),  sf::Color(167, 179, 108, 255),
                                         sf::Color(218, 255, 47, 255)};

class WorldMap : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const sf::Image image = AssetImages::load("Example Chunk.png");
        mSize = static_cast<int>(image.getSize().x);
        mBiomes.assign(static_cast<std::size_t>(mSize * mSize), Unknown);
        for (int y = 0; y < mSize; ++y)
            for (int x = 0; x < mSize; ++x)
                for (int b = Forest; b <= Beach; ++b)
                    if (image.getPixel(x, y) == Colors[static_cast<std::size_t>(b)])
                        mBiomes[static_cast<std::size_t>(y * mSize + x)] = static_cast<Biome>(b);
    }

    static Biome at(int x, int y)
    {
        if (x < 0 || y < 0 || x >= mSize || y >= mSize)
            return Unknown;
        return mBiomes[static_cast<std::size_t>(y * mSize + x)];
    }

    static int mSize;
    static std::vector<Biome> mBiomes;
};

int WorldMap::mSize = 0;
std::vector<Biome> WorldMap::mBiomes;

TEST_F(WorldMap, UsesOnlyAndAllTheSixBiomeColours)
{
    ASSERT_EQ(mSize, 256);
    std::set<Biome> seen(mBiomes.begin(), mBiomes.end());
    EXPECT_EQ(seen.count(Unknown), 0u);
    EXPECT_EQ(seen.size(), 6u);
}

TEST_F(WorldMap, StartsThePlayerOnOpenGrass)
{
    for (int y = 126; y <= 130; ++y)
        for (int x = 126; x <= 130; ++x)
            EXPECT_EQ(at(x, y), Grass) << x << "," << y;
}

TEST_F(WorldMap, IsAnIslandInDeepWater)
{
    for (int i = 0; i < mSize; ++i)
    {
        EXPECT_EQ(at(i, 0), DeWater);
        EXPECT_EQ(at(i, mSize - 1), DeWater);
        EXPECT_EQ(at(0, i), DeWater);
        EXPECT_EQ(at(mSize - 1, i), DeWater);
    }
    std::array<int, 7> count{};
    for (Biome b : mBiomes)
        ++count[b];
    // Large forests, a desert and sizeable meadows.
    EXPECT_GT(count[Forest], 2500);
    EXPECT_GT(count[Grass], 5000);
    EXPECT_GT(count[Desert], 1500);
}

TEST_F(WorldMap, HasAnInlandLakeWithDeepWaterInTheMiddle)
{
    // Water regions (8-connected) that do not reach the map edge, holding deep water.
    std::vector<int> region(mBiomes.size(), -1);
    bool found = false;
    for (int start = 0; start < mSize * mSize && !found; ++start)
    {
        const Biome b = mBiomes[static_cast<std::size_t>(start)];
        if ((b != ShWater && b != DeWater) || region[static_cast<std::size_t>(start)] >= 0)
            continue;
        bool touchesEdge = false, deep = false, shallow = false;
        std::deque<int> queue{start};
        region[static_cast<std::size_t>(start)] = start;
        while (!queue.empty())
        {
            const int i = queue.front();
            queue.pop_front();
            const int x = i % mSize, y = i / mSize;
            touchesEdge |= x == 0 || y == 0 || x == mSize - 1 || y == mSize - 1;
            deep |= at(x, y) == DeWater;
            shallow |= at(x, y) == ShWater;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                {
                    const Biome n = at(x + dx, y + dy);
                    const int j = (y + dy) * mSize + x + dx;
                    if ((n == ShWater || n == DeWater) && region[static_cast<std::size_t>(j)] < 0)
                    {
                        region[static_cast<std::size_t>(j)] = start;
                        queue.push_back(j);
                    }
                }
        }
        found = !touchesEdge && deep && shallow;
    }
    EXPECT_TRUE(found);
}

TEST_F(WorldMap, ContainsEveryBorderTheTransitionTilesDraw)
{
    const std::pair<Biome, Biome> pairs[] = {{Grass, DeWater}, {Grass, ShWater}, {Grass, Desert},
                                             {Grass, Beach},   {ShWater, DeWater}, {Beach, ShWater}};
    for (const auto& [from, to] : pairs)
    {
        bool found = false;
        for (int y = 0; y < mSize && !found; ++y)
            for (int x = 0; x < mSize && !found; ++x)
                found = at(x, y) == from && (at(x + 1, y) == to || at(x, y + 1) == to || at(x - 1, y) == to || at(x, y - 1) == to);
        EXPECT_TRUE(found) << from << " next to " << to;
    }
}

// Bits of the eight neighbours in the order N, NE, E, SE, S, SW, W, NW.
const int Dx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
const int Dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

// The neighbours a transition picture shows for these neighbour flags (the world's rule order).
unsigned shown(unsigned f)
{
    const unsigned n = 1, ne = 2, e = 4, se = 8, s = 16, sw = 32, w = 64, nw = 128;
    auto all = [f](unsigned m) { return (f & m) == m; };
    const unsigned north = nw | n | ne, east = ne | e | se, south = se | s | sw, west = sw | w | nw;
    if (all(e | se | s)) return east | south;
    if (all(n | nw | w)) return north | west;
    if (all(w | sw | s)) return west | south;
    if (all(n | ne | e)) return north | east;
    if (all(sw) && !(f & (s | w))) return sw;
    if (all(nw) && !(f & (n | w))) return nw;
    if (all(se) && !(f & (e | s))) return se;
    if (all(ne) && !(f & (n | e))) return ne;
    if (f & w) return west;
    if (f & e) return east;
    if (f & s) return south;
    if (f & n) return north;
    return 0;
}

TEST_F(WorldMap, EveryBorderIsOneTheTilesCanShow)
{
    // Each tile touches at most one biome it has transition pictures for (a few meadow tiles where
    // desert and beach meet excepted), and its picture shows every neighbour of that biome;
    // pairs without pictures never touch.
    const std::vector<std::pair<Biome, std::vector<Biome>>> sources = {
        {Grass, {DeWater, ShWater, Desert, Beach}}, {ShWater, {DeWater}}, {Beach, {ShWater}}};
    const std::set<std::pair<Biome, Biome>> allowed = {
        {Forest, Grass}, {Grass, DeWater}, {Grass, ShWater}, {Grass, Desert}, {Grass, Beach},
        {ShWater, DeWater}, {Beach, ShWater}, {Desert, Beach}};
    int unexplained = 0, forbidden = 0;
    int junctions = 0;  // meadow tiles where desert and beach meet: they show the beach border
    std::string where;
    for (int y = 0; y < mSize; ++y)
        for (int x = 0; x < mSize; ++x)
        {
            const Biome self = at(x, y);
            for (int i = 0; i < 8; ++i)
            {
                const Biome other = at(x + Dx[i], y + Dy[i]);
                if (other != Unknown && other != self && !allowed.count({self, other}) && !allowed.count({other, self}))
                    ++forbidden;
            }
            for (const auto& [source, targets] : sources)
            {
                if (self != source)
                    continue;
                std::set<Biome> kinds;
                for (Biome target : targets)
                {
                    unsigned flags = 0;
                    for (int i = 0; i < 8; ++i)
                        flags |= (at(x + Dx[i], y + Dy[i]) == target ? 1u : 0u) << i;
                    if (flags == 0)
                        continue;
                    kinds.insert(target);
                    if ((flags & ~shown(flags)) != 0)
                    {
                        ++unexplained;
                        where += " " + std::to_string(x) + "," + std::to_string(y);
                    }
                }
                if (kinds == std::set<Biome>{Desert, Beach})
                    ++junctions;
                else if (kinds.size() > 1)
                {
                    ++unexplained;
                    where += " " + std::to_string(x) + "," + std::to_string(y) + "(mixed)";
                }
            }
        }
    EXPECT_EQ(forbidden, 0);
    EXPECT_EQ(unexplained, 0) << where;
    EXPECT_LE(junctions, 8) << "meadow tiles between desert and beach";
}

} // namespace
