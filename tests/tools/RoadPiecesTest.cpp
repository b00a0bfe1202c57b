// Road tiles: for every neighbour case the piece the world picks, drawn as the world draws it
// (mirrored or turned for some), shows exactly the connections, and laid roads join up.
#include "tests/tools/AssetImages.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

enum : unsigned { NW = 1, N = 2, NE = 4, E = 8, SE = 16, S = 32, SW = 64, W = 128 };

// Piece index of a neighbour mask: the world's auto-tiling table.
int pieceIndex(unsigned m)
{
    if (m == 0)
        return 0;
    if (m == 255)
        return 1;
    const std::pair<unsigned, int> table[] = {
        {239, 25}, {191, 26}, {251, 27}, {254, 28}, {250, 43}, {175, 44}, {190, 45}, {235, 46}, {143, 6},  {248, 7},
        {62, 8},   {227, 9},  {187, 37}, {238, 38}, {186, 39}, {234, 40}, {171, 41}, {174, 42}, {232, 29}, {184, 30},
        {142, 31}, {139, 32}, {46, 33},  {163, 34}, {58, 35},  {226, 36}, {14, 2},   {131, 3},  {56, 4},   {224, 5},
        {170, 10}, {168, 11}, {138, 12}, {162, 13}, {42, 14},  {130, 15}, {160, 16}, {10, 17},  {40, 18},  {34, 19}};
    for (const auto& [bits, index] : table)
        if ((m & bits) == bits)
            return index;
    if ((m & W) && (m & E))
        return 20;
    if (m & N)
        return 21;
    if (m & E)
        return 22;
    if (m & S)
        return 23;
    if (m & W)
        return 24;
    return 0;
}

struct Cell {
    bool square;
    int column, row;
};

const Cell PieceRects[34] = {
    {false, 3, 0}, {true, 0, 0},  {true, 2, 2},  {true, 1, 2},  {true, 3, 2},  {true, 0, 2},  {true, 2, 1},
    {true, 0, 1},  {true, 3, 1},  {true, 1, 1},  {false, 2, 0}, {false, 3, 2}, {false, 0, 2}, {false, 2, 2},
    {false, 1, 2}, {false, 1, 3}, {false, 0, 3}, {false, 2, 3}, {false, 3, 3}, {false, 0, 0}, {false, 1, 0},
    {false, 3, 1}, {false, 2, 1}, {false, 0, 1}, {false, 1, 1}, {true, 3, 3},  {true, 0, 3},  {true, 2, 3},
    {true, 1, 3},  {true, 2, 0},  {true, 3, 0},  {true, 1, 0},  {true, 0, 4},  {true, 1, 4}};

// Rectangle, scale and clockwise quarter turns of the indices above 28.
struct Transform {
    int rect;
    int scaleX, scaleY;
    int turns;
};

Transform transformOf(int index)
{
    switch (index)
    {
    case 29: return {29, -1, 1, 0};
    case 30: return {29, 1, 1, 0};
    case 31: return {29, 1, -1, 0};
    case 32: return {29, -1, -1, 0};
    case 33: return {29, 1, 1, 3};
    case 34: return {29, 1, -1, 3};
    case 35: return {30, 1, 1, 2};
    case 36: return {30, -1, 1, 2};
    case 37: return {31, 1, 1, 0};
    case 38: return {31, -1, 1, 0};
    case 39: return {32, 1, 1, 0};
    case 40: return {32, 1, 1, 1};
    case 41: return {32, 1, 1, 2};
    case 42: return {32, 1, 1, 3};
    case 43: return {33, 1, 1, 1};
    case 44: return {33, 1, 1, 3};
    case 45: return {33, 1, 1, 0};
    case 46: return {33, 1, 1, 2};
    default: return {index, 1, 1, 0};
    }
}

class RoadPieces : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        mPath = AssetImages::load("QELPath.png");
        mSquare = AssetImages::load("QELTorg.png");
    }

    // Whether the tile drawn for a mask covers a pixel, seen as the world draws it: a sprite with
    // origin (45, 45) at the tile centre, scaled, then turned clockwise.
    static bool covers(unsigned mask, int u, int v)
    {
        const int index = pieceIndex(mask);
        const Transform t = transformOf(index);
        const bool square = (index >= 1 && index <= 9) || index >= 25;
        const Cell& cell = PieceRects[t.rect];
        // Undo the turns, then the scale, on coordinates doubled about the centre (exact integers).
        int x = 2 * u + 1 - 90, y = 2 * v + 1 - 90;
        for (int i = 0; i < t.turns; ++i)
        {
            const int turned = x;  // a clockwise turn maps (x, y) to (-y, x): undo it
            x = y;
            y = -turned;
        }
        x *= t.scaleX;
        y *= t.scaleY;
        const int sx = (x + 90 - 1) / 2;
        const int sy = (y + 90 - 1) / 2;
        return AssetImages::opaque(square ? mSquare : mPath, cell.column * 90 + sx, cell.row * 90 + sy);
    }

    static sf::Image mPath, mSquare;
};

sf::Image RoadPieces::mPath;
sf::Image RoadPieces::mSquare;

TEST_F(RoadPieces, EveryNeighbourCaseShowsItsConnections)
{
    for (unsigned mask = 0; mask < 256; ++mask)
    {
        SCOPED_TRACE("mask " + std::to_string(mask) + " piece " + std::to_string(pieceIndex(mask)));
        auto has = [mask](unsigned bits) { return (mask & bits) == bits; };
        ASSERT_TRUE(covers(mask, 45, 45));
        EXPECT_EQ(covers(mask, 45, 0), has(N));
        EXPECT_EQ(covers(mask, 89, 45), has(E));
        EXPECT_EQ(covers(mask, 45, 89), has(S));
        EXPECT_EQ(covers(mask, 0, 45), has(W));
        EXPECT_EQ(covers(mask, 1, 1), has(N | W | NW));
        EXPECT_EQ(covers(mask, 88, 1), has(N | E | NE));
        EXPECT_EQ(covers(mask, 88, 88), has(S | E | SE));
        EXPECT_EQ(covers(mask, 1, 88), has(S | W | SW));
    }
}

TEST_F(RoadPieces, LaidRoadsJoinAlongEveryEdge)
{
    // A random patch of roads: along every edge between two tiles both sides show the same road.
    constexpr int Size = 24;
    std::mt19937 random(4242);
    std::vector<bool> road(Size * Size);
    for (int i = 0; i < Size * Size; ++i)
        road[static_cast<std::size_t>(i)] = random() % 100 < 55;
    auto isRoad = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < Size && y < Size && road[static_cast<std::size_t>(y * Size + x)];
    };
    auto maskAt = [&](int x, int y) {
        const int dx[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
        const int dy[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
        unsigned mask = 0;
        for (int i = 0; i < 8; ++i)
            mask |= (isRoad(x + dx[i], y + dy[i]) ? 1u : 0u) << i;
        return mask;
    };
    auto tileCovers = [&](int x, int y, int u, int v) { return isRoad(x, y) && covers(maskAt(x, y), u, v); };
    int mismatches = 0;
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            for (int t = 0; t < 90; ++t)
            {
                mismatches += tileCovers(x, y, 89, t) != tileCovers(x + 1, y, 0, t) ? 1 : 0;
                mismatches += tileCovers(x, y, t, 89) != tileCovers(x, y + 1, t, 0) ? 1 : 0;
            }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
