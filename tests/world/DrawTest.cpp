#include "tests/world/WorldFixture.hpp"

#include <set>
#include <utility>

namespace WorldTest
{
namespace
{

using QEL::Chunk;
using Tile = std::pair<unsigned, unsigned>;

const sf::Color Background(255, 0, 255);

class DrawTest : public WorldFixture
{
protected:
    /// The tiles of a 4 x 4 desert map that a draw for `visible` paints, seen through a
    /// view over the whole map.
    std::set<Tile> paintedTiles(const sf::FloatRect& visible)
    {
        mTarget.clear(Background);
        drawWorld(mTarget, visible);
        mTarget.display();
        const sf::Image picture = mTarget.getTexture().copyToImage();
        std::set<Tile> painted;
        for (unsigned x = 0; x < 4; ++x)
        {
            for (unsigned y = 0; y < 4; ++y)
            {
                if (picture.getPixel(x * 90 + 45, y * 90 + 45) != Background)
                    painted.insert({x, y});
            }
        }
        return painted;
    }

    static std::set<Tile> block(unsigned left, unsigned top, unsigned right, unsigned bottom)
    {
        std::set<Tile> tiles;
        for (unsigned x = left; x < right; ++x)
        {
            for (unsigned y = top; y < bottom; ++y)
                tiles.insert({x, y});
        }
        return tiles;
    }

    void SetUp() override
    {
        ASSERT_TRUE(mTarget.create(360, 360));
        mTarget.setView(sf::View(sf::FloatRect(0.f, 0.f, 360.f, 360.f)));
    }

    /// Lets more than a second pass and draws once, so that the surf steps and its timer restarts.
    void stepSurf(sf::RenderTarget& target)
    {
        sendGlobal("QEL.Game.Update", 2.f);
        drawWorld(target, sf::FloatRect(0.f, 0.f, 90.f, 90.f));
    }

    static std::vector<int> surfRows(const Chunk& chunk)
    {
        std::vector<int> rows;
        for (const sf::Sprite* tile : chunk.getAnimatedTiles())
            rows.push_back(tile->getTextureRect().top / 90);
        return rows;
    }

    sf::RenderTexture mTarget;
};

TEST_F(DrawTest, OnlyTilesInsideTheVisibleRectangleAreDrawn)
{
    loadMap({"dddd", "dddd", "dddd", "dddd"});
    EXPECT_EQ(paintedTiles(sf::FloatRect(0.f, 0.f, 360.f, 360.f)), block(0, 0, 4, 4));
    EXPECT_EQ(paintedTiles(sf::FloatRect(100.f, 100.f, 90.f, 90.f)), block(1, 1, 3, 3));
    EXPECT_EQ(paintedTiles(sf::FloatRect(90.f, 180.f, 90.f, 90.f)), block(1, 2, 2, 3)) << "edges on tile borders";
    EXPECT_EQ(paintedTiles(sf::FloatRect(-200.f, -200.f, 300.f, 300.f)), block(0, 0, 2, 2)) << "negative start";
    EXPECT_EQ(paintedTiles(sf::FloatRect(-40.f, 200.f, 50.f, 1000.f)), block(0, 2, 1, 4));
    EXPECT_EQ(paintedTiles(sf::FloatRect(-5000.f, -5000.f, 10000.f, 10000.f)), block(0, 0, 4, 4)) << "clamped";
}

TEST_F(DrawTest, ViewsBesideTheMapDrawNothing)
{
    loadMap({"dddd", "dddd", "dddd", "dddd"});
    EXPECT_TRUE(paintedTiles(sf::FloatRect(400.f, 0.f, 300.f, 300.f)).empty()) << "right of the map";
    EXPECT_TRUE(paintedTiles(sf::FloatRect(0.f, 360.f, 300.f, 300.f)).empty()) << "below the map";
    EXPECT_TRUE(paintedTiles(sf::FloatRect(-1000.f, 0.f, 300.f, 300.f)).empty()) << "left of the map";
    EXPECT_TRUE(paintedTiles(sf::FloatRect(0.f, -400.f, 300.f, 300.f)).empty()) << "above the map";
}

TEST_F(DrawTest, SurfStepsWithOneSharedDirection)
{
    // One fresh tile leaves the shared direction rising whichever way it pointed before.
    Chunk& first = loadMap({"bs"});
    stepSurf(mTarget);
    mSystem.destroyComponent(&first);

    const Chunk& chunk = loadMap({"bs", "bs", "bs"});
    ASSERT_EQ(chunk.getAnimatedTiles().size(), 3u);
    EXPECT_EQ(surfRows(chunk), (std::vector<int>{0, 0, 0}));

    // Exactly one second is not enough.
    sendGlobal("QEL.Game.Update", 0.5f);
    sendGlobal("QEL.Game.Update", 0.5f);
    drawWorld(mTarget, sf::FloatRect(0.f, 0.f, 90.f, 90.f));
    EXPECT_EQ(surfRows(chunk), (std::vector<int>{0, 0, 0}));
    sendGlobal("QEL.Game.Update", 0.25f);
    drawWorld(mTarget, sf::FloatRect(0.f, 0.f, 90.f, 90.f));
    EXPECT_EQ(surfRows(chunk), (std::vector<int>{1, 1, 1}));

    // The timer restarted: half a second later nothing moves.
    sendGlobal("QEL.Game.Update", 0.5f);
    drawWorld(mTarget, sf::FloatRect(0.f, 0.f, 90.f, 90.f));
    EXPECT_EQ(surfRows(chunk), (std::vector<int>{1, 1, 1}));

    // The first tile turns at the top and the others follow the new direction at once.
    const std::vector<std::vector<int>> steps = {{2, 2, 2}, {2, 1, 1}, {1, 0, 0}, {0, 0, 1}, {1, 1, 2}, {2, 2, 2}};
    for (const std::vector<int>& expected : steps)
    {
        stepSurf(mTarget);
        EXPECT_EQ(surfRows(chunk), expected);
    }
}

TEST_F(DrawTest, ASurfStepKeepsEachTilesShape)
{
    const Chunk& chunk = loadMap({"bs", "bs"});
    std::vector<int> columns;
    for (const sf::Sprite* tile : chunk.getAnimatedTiles())
        columns.push_back(tile->getTextureRect().left);
    stepSurf(mTarget);
    for (std::size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(chunk.getAnimatedTiles()[i]->getTextureRect().left, columns[i]);
}

} // namespace
} // namespace WorldTest
