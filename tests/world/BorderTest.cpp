#include "tests/world/WorldFixture.hpp"

#include "plym/game/Spritesheet.hpp"

namespace WorldTest
{
namespace
{

using QEL::Chunk;

class BorderTest : public WorldFixture
{
protected:
    /// Expects the tile at (x, y) to show the cell (column, row) of the sheet.
    static void expectCell(const Chunk& chunk, unsigned x, unsigned y, const std::string& sheetFile, unsigned column,
                           unsigned row)
    {
        const Plym::Spritesheet& sheet = Chunk::getSheet(sheetFile);
        const sf::Sprite& tile = chunk.getTiles().at(y * chunk.getWidth() + x);
        EXPECT_EQ(tile.getTexture(), &sheet.getTexture()) << "tile " << x << ", " << y << " is not from " << sheetFile;
        EXPECT_EQ(tile.getTextureRect(), sheet.getRect(column, row))
            << "tile " << x << ", " << y << " of " << sheetFile << " should be cell " << column << ", " << row;
    }

    static void expectPlainGrass(const Chunk& chunk, unsigned x, unsigned y)
    {
        const sf::Sprite& tile = chunk.getTiles().at(y * chunk.getWidth() + x);
        EXPECT_EQ(tile.getTexture(), &Chunk::getSheet("grass.png").getTexture()) << "tile " << x << ", " << y;
    }
};

TEST_F(BorderTest, EveryRuleOfTheEdgeLayout)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> map;
        unsigned column;
        unsigned row;
    };
    // The grass tile under test is always the centre of a 3 x 3 map.
    const Case cases[] = {
        {"E, SE and S", {"GGG", "GGD", "GDD"}, 2, 3},
        {"N, NW and W", {"DDG", "DGG", "GGG"}, 2, 0},
        {"W, SW and S", {"GGG", "DGG", "DDG"}, 2, 1},
        {"N, NE and E", {"GDD", "GGD", "GGG"}, 2, 2},
        {"SW only", {"GGG", "GGG", "DGG"}, 1, 0},
        {"NW only", {"DGG", "GGG", "GGG"}, 1, 1},
        {"SE only", {"GGG", "GGG", "GGD"}, 1, 2},
        {"NE only", {"GGD", "GGG", "GGG"}, 1, 3},
        {"W", {"GGG", "DGG", "GGG"}, 0, 0},
        {"E", {"GGG", "GGD", "GGG"}, 0, 1},
        {"S", {"GGG", "GGG", "GDG"}, 0, 2},
        {"N", {"GDG", "GGG", "GGG"}, 0, 3},
        {"N and S: S comes first", {"GDG", "GGG", "GDG"}, 0, 2},
        {"W and E: W comes first", {"GGG", "DGD", "GGG"}, 0, 0},
        {"SW with S is an edge, not a corner", {"GGG", "GGG", "DDG"}, 0, 2},
        {"all round: the first inner corner", {"DDD", "DGD", "DDD"}, 2, 3},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.what);
        expectCell(loadMap(test.map), 1, 1, "grasswater.png", test.column, test.row);
    }
}

TEST_F(BorderTest, EachTargetBiomeHasItsSheet)
{
    expectCell(loadMap({"GG", "Gs"}), 0, 0, "grasswatersh.png", 1, 2);
    expectCell(loadMap({"GG", "Gd"}), 0, 0, "grassdesert.png", 1, 2);
    expectCell(loadMap({"GG", "Gb"}), 0, 0, "grassbeach.png", 1, 2);
}

TEST_F(BorderTest, ShallowWaterUsesTheWaterSheetFromItsSecondColumn)
{
    const Chunk& chunk = loadMap({"Dss", "sss", "ssD"});
    expectCell(chunk, 1, 0, "water.png", 1, 0);  // W
    expectCell(chunk, 1, 1, "water.png", 2, 1);  // NW and SE: NW comes first
    expectCell(chunk, 2, 1, "water.png", 1, 2);  // S
    expectCell(chunk, 1, 2, "water.png", 1, 1);  // E
    expectCell(chunk, 0, 1, "water.png", 1, 3);  // N
}

TEST_F(BorderTest, NeighboursOutsideTheMapNeverMatch)
{
    // The right end of row 0 is followed in memory by the start of row 1.
    const Chunk& wrap = loadMap({"GGG", "DGG"});
    expectCell(wrap, 0, 0, "grasswater.png", 0, 2);  // S
    expectPlainGrass(wrap, 2, 0);
    expectPlainGrass(wrap, 2, 1);

    const Chunk& corner = loadMap({"GD"});
    expectCell(corner, 0, 0, "grasswater.png", 0, 1);  // E alone: no corner outside the map

    expectPlainGrass(loadMap({"G"}), 0, 0);
}

TEST_F(BorderTest, LaterPassesOverwriteEarlierOnes)
{
    // Deep water (first pass) on the east, beach (fourth pass) on the west.
    expectCell(loadMap({"bGD"}), 1, 0, "grassbeach.png", 0, 0);
    // Shallow water (second pass) beats deep water (first pass).
    expectCell(loadMap({"sGD"}), 1, 0, "grasswatersh.png", 0, 0);
}

TEST_F(BorderTest, ForestNeverGetsABorder)
{
    const Chunk& chunk = loadMap({"DDD", "DFD", "DDD"});
    EXPECT_EQ(chunk.getTiles()[4].getTexture(), &Chunk::getSheet("grass.png").getTexture());
}

TEST_F(BorderTest, SurfUsesItsOwnColumnsAndIsListedInPassOrder)
{
    const Chunk& chunk = loadMap({"ssss", "sbbs", "ssss", "bbbb"});
    // (1, 1): every side is water but E, so N+NW+W is the first rule; (2, 1): E+SE+S.
    expectCell(chunk, 1, 1, "beachwater.png", 8, 0);
    expectCell(chunk, 2, 1, "beachwater.png", 9, 0);
    // Bottom row: water above, so N; the ends see a diagonal too but N+NE+E needs E.
    expectCell(chunk, 0, 3, "beachwater.png", 2, 0);
    expectCell(chunk, 3, 3, "beachwater.png", 2, 0);

    const std::vector<const sf::Sprite*> expected = {&chunk.getTiles()[3 * 4 + 0], &chunk.getTiles()[1 * 4 + 1],
                                                     &chunk.getTiles()[3 * 4 + 1], &chunk.getTiles()[1 * 4 + 2],
                                                     &chunk.getTiles()[3 * 4 + 2], &chunk.getTiles()[3 * 4 + 3]};
    EXPECT_EQ(std::vector<const sf::Sprite*>(chunk.getAnimatedTiles().begin(), chunk.getAnimatedTiles().end()),
              expected);
}

TEST_F(BorderTest, BeachAwayFromShallowWaterIsNotAnimated)
{
    const Chunk& chunk = loadMap({"bbD", "bbD"});
    EXPECT_TRUE(chunk.getAnimatedTiles().empty());
}

} // namespace
} // namespace WorldTest
