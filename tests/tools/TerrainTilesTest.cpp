// Ground tiles: every transition cell shows the neighbour case of its rule, and every tile edge
// continues the plain tiles, so the world's pictures join without seams.
#include "tests/tools/AssetImages.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int Tile = 90;
// Near a tile corner two borders cross; elsewhere an edge is wholly one biome.
constexpr int CornerZone = 30;

enum Side { N = 1, E = 2, S = 4, W = 8 };
enum Corner { None, NE, SE, SW, NW };

// The world's border rules: the neighbour case each stands for and where it is drawn.
struct Rule {
    int sides;
    Corner corner;
    int edgeColumn, edgeRow, surfColumn;
};

const Rule Rules[] = {
    {E | S, None, 2, 3, 9}, {N | W, None, 2, 0, 8}, {W | S, None, 2, 1, 10}, {N | E, None, 2, 2, 11},
    {0, SW, 1, 0, 5},       {0, NW, 1, 1, 7},       {0, SE, 1, 2, 4},        {0, NE, 1, 3, 6},
    {W, None, 0, 0, 1},     {E, None, 0, 1, 0},     {S, None, 0, 2, 3},      {N, None, 0, 3, 2},
};

struct Sheet {
    const char* file;
    int columnOffset;
    bool surf;
    // Plain tiles of the tile's own biome and of the neighbour: file, column, row.
    const char* fromFile;
    int fromColumn, fromRow;
    const char* toFile;
    int toColumn, toRow;
};

const Sheet Sheets[] = {
    {"grasswater.png", 0, false, "grass.png", 1, 1, "water.png", 0, 3},
    {"grasswatersh.png", 0, false, "grass.png", 1, 1, "water.png", 0, 4},
    {"grassdesert.png", 0, false, "grass.png", 1, 1, "desert.png", 0, 0},
    {"grassbeach.png", 0, false, "grass.png", 1, 1, "beach.png", 0, 1},
    {"water.png", 1, false, "water.png", 0, 4, "water.png", 0, 3},
    {"beachwater.png", 0, true, "beach.png", 0, 1, "water.png", 0, 4},
};

sf::Image cell(const sf::Image& sheet, int column, int row)
{
    return AssetImages::crop(sheet, sf::IntRect(column * Tile, row * Tile, Tile, Tile));
}

// The cells of a sheet that show one rule: one, or the three surf frames.
std::vector<sf::Image> cellsOf(const sf::Image& sheet, const Sheet& info, const Rule& rule)
{
    std::vector<sf::Image> cells;
    if (info.surf)
        for (int frame = 0; frame < 3; ++frame)
            cells.push_back(cell(sheet, rule.surfColumn, frame));
    else
        cells.push_back(cell(sheet, info.columnOffset + rule.edgeColumn, rule.edgeRow));
    return cells;
}

bool cornerTouched(const Rule& rule, Corner corner)
{
    const int sidesOf[5] = {0, N | E, S | E, S | W, N | W};
    return rule.corner == corner || (rule.sides & sidesOf[corner]) != 0;
}

class Transitions : public ::testing::TestWithParam<Sheet> {
protected:
    void SetUp() override
    {
        const Sheet& info = GetParam();
        mSheet = AssetImages::load(info.file);
        mFrom = cell(AssetImages::load(info.fromFile), info.fromColumn, info.fromRow);
        mTo = cell(AssetImages::load(info.toFile), info.toColumn, info.toRow);
    }

    // Whether a patch looks like the neighbour's biome rather than the tile's own.
    bool looksLikeNeighbour(const sf::Image& image, const sf::IntRect& patch) const
    {
        const sf::Color seen = AssetImages::mean(image, patch);
        return AssetImages::distance(seen, AssetImages::mean(mTo, patch)) <
               AssetImages::distance(seen, AssetImages::mean(mFrom, patch));
    }

    sf::Image mSheet, mFrom, mTo;
};

TEST_P(Transitions, EachCellShowsTheNeighboursOfItsRule)
{
    const int near = 3, far = 42, size = 6;  // patches just inside an edge, and in the middle
    for (const Rule& rule : Rules)
        for (const sf::Image& image : cellsOf(mSheet, GetParam(), rule))
        {
            SCOPED_TRACE("rule cell " + std::to_string(rule.edgeColumn) + "," + std::to_string(rule.edgeRow));
            EXPECT_FALSE(looksLikeNeighbour(image, {far, far, size, size}));
            EXPECT_EQ(looksLikeNeighbour(image, {far, near, size, size}), (rule.sides & N) != 0);
            EXPECT_EQ(looksLikeNeighbour(image, {Tile - near - size, far, size, size}), (rule.sides & E) != 0);
            EXPECT_EQ(looksLikeNeighbour(image, {far, Tile - near - size, size, size}), (rule.sides & S) != 0);
            EXPECT_EQ(looksLikeNeighbour(image, {near, far, size, size}), (rule.sides & W) != 0);
            EXPECT_EQ(looksLikeNeighbour(image, {Tile - size, 0, size, size}), cornerTouched(rule, NE));
            EXPECT_EQ(looksLikeNeighbour(image, {Tile - size, Tile - size, size, size}), cornerTouched(rule, SE));
            EXPECT_EQ(looksLikeNeighbour(image, {0, Tile - size, size, size}), cornerTouched(rule, SW));
            EXPECT_EQ(looksLikeNeighbour(image, {0, 0, size, size}), cornerTouched(rule, NW));
        }
}

TEST_P(Transitions, EdgesAwayFromCornersContinueThePlainTiles)
{
    struct Edge { int side; int x0, y0, dx, dy; };
    const Edge edges[] = {{N, 0, 0, 1, 0}, {E, Tile - 1, 0, 0, 1}, {S, 0, Tile - 1, 1, 0}, {W, 0, 0, 0, 1}};
    for (const Rule& rule : Rules)
        for (const sf::Image& image : cellsOf(mSheet, GetParam(), rule))
            for (const Edge& edge : edges)
            {
                const sf::Image& plain = (rule.sides & edge.side) ? mTo : mFrom;
                int differing = 0;
                for (int t = CornerZone; t < Tile - CornerZone; ++t)
                {
                    const unsigned x = static_cast<unsigned>(edge.x0 + edge.dx * t);
                    const unsigned y = static_cast<unsigned>(edge.y0 + edge.dy * t);
                    differing += image.getPixel(x, y) != plain.getPixel(x, y) ? 1 : 0;
                }
                EXPECT_EQ(differing, 0) << "rule cell " << rule.edgeColumn << "," << rule.edgeRow << " side " << edge.side;
            }
}

INSTANTIATE_TEST_SUITE_P(AllBorders, Transitions, ::testing::ValuesIn(Sheets),
                         [](const ::testing::TestParamInfo<Sheet>& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.'));
                         });

// How much neighbouring columns differ across a boundary between two art pixels.
double columnStep(const sf::Image& tile, unsigned left, unsigned right)
{
    double sum = 0.0;
    for (unsigned y = 0; y < Tile; ++y)
        sum += AssetImages::distance(tile.getPixel(left, y), tile.getPixel(right, y));
    return sum / Tile;
}

double rowStep(const sf::Image& tile, unsigned top, unsigned bottom)
{
    double sum = 0.0;
    for (unsigned x = 0; x < Tile; ++x)
        sum += AssetImages::distance(tile.getPixel(x, top), tile.getPixel(x, bottom));
    return sum / Tile;
}

TEST(PlainTiles, RepeatWithoutAVisibleSeam)
{
    // A tile next to itself: its last column meets its first no harder than its inner columns meet.
    const std::pair<const char*, sf::Vector2i> tiles[] = {
        {"grass.png", {1, 1}}, {"desert.png", {0, 0}}, {"beach.png", {0, 1}}, {"water.png", {0, 3}}, {"water.png", {0, 4}}};
    for (const auto& [file, at] : tiles)
    {
        SCOPED_TRACE(std::string(file) + " " + std::to_string(at.x) + "," + std::to_string(at.y));
        const sf::Image tile = cell(AssetImages::load(file), at.x, at.y);
        double inner = 0.0;
        int pairs = 0;
        for (unsigned x = 3; x < Tile; x += 3, ++pairs)
            inner += (columnStep(tile, x - 1, x) + rowStep(tile, x - 1, x)) / 2.0;
        inner /= pairs;
        EXPECT_LE(columnStep(tile, Tile - 1, 0), inner * 1.6 + 1.0);
        EXPECT_LE(rowStep(tile, Tile - 1, 0), inner * 1.6 + 1.0);
    }
}

TEST(PlainTiles, VariantsShareTheirEdges)
{
    // Any grass or beach variant may lie next to any other.
    const std::pair<const char*, std::vector<sf::Vector2i>> groups[] = {
        {"grass.png", {{0, 0}, {1, 0}, {0, 1}, {1, 1}}}, {"beach.png", {{0, 0}, {0, 1}}}};
    for (const auto& [file, cells] : groups)
    {
        const sf::Image sheet = AssetImages::load(file);
        const sf::Image first = cell(sheet, cells[0].x, cells[0].y);
        for (const sf::Vector2i& at : cells)
        {
            const sf::Image other = cell(sheet, at.x, at.y);
            for (unsigned t = 0; t < Tile; ++t)
                for (unsigned edge : {0u, static_cast<unsigned>(Tile - 1)})
                {
                    ASSERT_EQ(other.getPixel(t, edge), first.getPixel(t, edge)) << file << " cell " << at.x << "," << at.y;
                    ASSERT_EQ(other.getPixel(edge, t), first.getPixel(edge, t)) << file << " cell " << at.x << "," << at.y;
                }
        }
    }
}

TEST(SurfAnimation, FramesDifferButMeetTheirNeighboursAlike)
{
    const sf::Image sheet = AssetImages::load("beachwater.png");
    for (int column = 0; column < 12; ++column)
    {
        SCOPED_TRACE("surf column " + std::to_string(column));
        const sf::Image first = cell(sheet, column, 0);
        for (int frame = 1; frame < 3; ++frame)
        {
            const sf::Image other = cell(sheet, column, frame);
            EXPECT_FALSE(AssetImages::samePixels(first, other));
            // The waves move inside the tile; its edges stay as in the first frame.
            for (unsigned t = 0; t < Tile; ++t)
                for (unsigned edge : {0u, static_cast<unsigned>(Tile - 1)})
                {
                    EXPECT_EQ(other.getPixel(t, edge), first.getPixel(t, edge));
                    EXPECT_EQ(other.getPixel(edge, t), first.getPixel(edge, t));
                }
        }
    }
}

} // namespace
