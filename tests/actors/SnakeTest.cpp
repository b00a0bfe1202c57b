#include "actors/MapEdge.hpp"
#include "actors/Snake.hpp"
#include "app/ResourceManager.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Vector3.hpp"
#include "tests/actors/ObjectsFixture.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>

namespace
{

using namespace ObjectsTest;
using Plym::Math::Vector3;
using QEL::Snake;

class SnakeTest : public ObjectsFixture
{
protected:
    Snake& addSnake(float x, float y)
    {
        Snake& snake = spawn<Snake>("QEL.Snake", "QEL.Game.Snake");
        body(snake).setPosition(Vector3(x, y, 0.f));
        return snake;
    }

    QEL::Physical& body(const Snake& snake) { return component<QEL::Physical>(snake.getOwner(), "QEL.Physical"); }

    static float centre(unsigned tile) { return tile * 90.f + 45.f; }

    /// Steps until the snake starts to crawl (a rest lasts at most 7 s).
    void untilCrawling(const Snake& snake)
    {
        for (int i = 0; i < 8 * 33 && snake.getPhase() == 0; ++i)
            step();
        ASSERT_NE(snake.getPhase(), 0);
    }

    void untilResting(const Snake& snake)
    {
        for (int i = 0; i < 8 * 33 && snake.getPhase() != 0; ++i)
            step();
        ASSERT_EQ(snake.getPhase(), 0);
    }

    /// Puts a crawling snake at a point and runs the step that looks at where it is.
    void crawlStepAt(Snake& snake, float x, float y)
    {
        untilCrawling(snake);
        body(snake).setPosition(Vector3(x, y, 0.f));
        step();
    }

    sf::Vector2f position(const Snake& snake)
    {
        const Vector3 p = body(snake).getPosition();
        return sf::Vector2f(p.x, p.y);
    }
};

TEST(SnakeFacing, SheetAndColumnFollowTheHeading)
{
    struct Case
    {
        float heading;
        bool horizontal;
        unsigned column;
    };
    const Case cases[] = {
        {0.f, true, 1},     {44.9f, true, 1},    {45.f, false, 0},   {90.f, false, 0},  {135.f, false, 0},
        {135.1f, true, 0},  {180.f, true, 0},    {224.9f, true, 0},  {225.f, false, 1}, {270.f, false, 1},
        {314.9f, false, 1}, {315.f, true, 1},    {359.f, true, 1},
    };
    for (const Case& c : cases)
    {
        const Snake::Facing facing = Snake::facingFor(c.heading);
        EXPECT_EQ(facing.horizontal, c.horizontal) << c.heading;
        EXPECT_EQ(facing.column, c.column) << c.heading;
    }
}

TEST(MapEdge, StrayTilesGoBackToTheNearestInsideTile)
{
    using QEL::MapEdge::Tile;
    const auto expectTile = [](Tile tile, int x, int y) {
        EXPECT_EQ(tile.x, x);
        EXPECT_EQ(tile.y, y);
    };
    expectTile(QEL::MapEdge::tileAt(-89.f, 179.9f), 0, 1);  // truncated toward zero
    expectTile(QEL::MapEdge::tileAt(-90.f, 180.f), -1, 2);
    EXPECT_FALSE(QEL::MapEdge::inside(4, 3, QEL::MapEdge::tileAt(NAN, 0.f)));
    EXPECT_FALSE(QEL::MapEdge::inside(4, 3, QEL::MapEdge::tileAt(0.f, INFINITY)));
    EXPECT_TRUE(QEL::MapEdge::inside(4, 3, Tile{3, 2}));
    EXPECT_FALSE(QEL::MapEdge::inside(4, 3, Tile{4, 2}));
    EXPECT_FALSE(QEL::MapEdge::inside(4, 3, Tile{-1, 0}));

    expectTile(QEL::MapEdge::walkBack(4, 3, Tile{-5, 1}), 0, 1);
    expectTile(QEL::MapEdge::walkBack(4, 3, Tile{2, -1}), 2, 0);
    expectTile(QEL::MapEdge::walkBack(4, 3, Tile{9, 1}), 3, 1);
    expectTile(QEL::MapEdge::walkBack(4, 3, Tile{9, -9}), 3, 0);  // beyond the top-right corner
    expectTile(QEL::MapEdge::walkBack(4, 3, Tile{1, 50}), 1, 2);
    expectTile(QEL::MapEdge::walkBack(4, 3, Tile{INT_MIN / 2, INT_MIN / 2}), 0, 0);
}

TEST_F(SnakeTest, RestingSnakesStayPut)
{
    Snake& snake = addSnake(centre(DeepX), centre(BiomeRow));
    ASSERT_EQ(snake.getPhase(), 0) << "a snake starts resting";
    const sf::Vector2f start = position(snake);
    step();
    EXPECT_EQ(position(snake), start);
    EXPECT_EQ(snake.getSink(), 0) << "a resting snake does not look at the ground";

    untilCrawling(snake);
    untilResting(snake);
    const sf::Vector2f rest = position(snake);
    const float heading = snake.getHeading();
    const int sink = snake.getSink();
    const unsigned row = snake.getRow();
    const unsigned column = snake.getColumn();
    const bool mirrored = snake.isMirrored();
    for (step(); snake.getPhase() == 0; step())
    {
        EXPECT_EQ(position(snake), rest);
        EXPECT_EQ(snake.getHeading(), heading);
        EXPECT_EQ(snake.getSink(), sink);
        EXPECT_EQ(snake.getRow(), row);
        EXPECT_EQ(snake.getColumn(), column);
        EXPECT_EQ(snake.isMirrored(), mirrored);
    }
}

TEST_F(SnakeTest, FirstCrawlingUpdateTurns)
{
    Snake& snake = addSnake(5000.f, 300.f);
    untilCrawling(snake);
    // The step that ended the rest already crawled 48/33 units along the initial heading 0.
    EXPECT_EQ(snake.getHeading(), 0.f);
    EXPECT_NEAR(position(snake).x, 5000.f + 48.f / 33.f, 1e-3f);
    EXPECT_NEAR(position(snake).y, 300.f, 1e-3f);
    EXPECT_LT(snake.getTurnDistance(), 0.5f);

    step();
    ASSERT_NE(snake.getPhase(), 0);
    EXPECT_GE(snake.getTurnDistance(), 50.f - 48.f / 33.f);
    EXPECT_LT(snake.getTurnDistance(), 250.f);
}

TEST_F(SnakeTest, TurnsChangeTheHeadingByMinus89ToPlus90)
{
    std::srand(7);
    std::vector<Snake*> snakes;
    for (int i = 0; i < 24; ++i)
        snakes.push_back(&addSnake(300.f + 900.f * i, centre(5)));

    std::map<Snake*, float> headings;
    std::map<Snake*, float> distances;
    for (Snake* snake : snakes)
    {
        headings[snake] = snake->getHeading();
        distances[snake] = snake->getTurnDistance();
    }
    int turns = 0;
    int smallest = 0;
    int largest = 0;
    for (int i = 0; i < 40000 && turns < 1500; ++i)
    {
        step();
        for (Snake* snake : snakes)
        {
            if (snake->getTurnDistance() > distances[snake])
            {
                ++turns;
                int change = static_cast<int>(snake->getHeading() - headings[snake]);
                if (change > 180)
                    change -= 360;
                else if (change <= -180)
                    change += 360;
                smallest = std::min(smallest, change);
                largest = std::max(largest, change);
                EXPECT_GE(snake->getHeading(), 0.f);
                EXPECT_LT(snake->getHeading(), 360.f);
                const Snake::Facing facing = Snake::facingFor(snake->getHeading());
                EXPECT_EQ(snake->isHorizontal(), facing.horizontal);
                EXPECT_EQ(snake->getColumn(), facing.column);
            }
            headings[snake] = snake->getHeading();
            distances[snake] = snake->getTurnDistance();
        }
    }
    EXPECT_GE(turns, 1500);
    EXPECT_EQ(smallest, -89);
    EXPECT_EQ(largest, 90);
}

TEST_F(SnakeTest, SinksIntoWaterAndSand)
{
    Snake& snake = addSnake(centre(40), centre(5));
    const std::pair<unsigned, int> tiles[] = {
        {DeepX, -15}, {ShallowX, -15}, {DesertX, -5}, {BeachX, -5}, {GrassX, 0}, {40, 0}, {DeepX, -15}};
    for (const auto& [tile, sink] : tiles)
    {
        crawlStepAt(snake, centre(tile), centre(BiomeRow));
        EXPECT_EQ(snake.getSink(), sink) << "tile " << tile;
    }
}

TEST_F(SnakeTest, AnimatesInFourPhasesAndMirrorsOnlyVerticalSnakes)
{
    std::srand(3);
    std::vector<Snake*> snakes;
    for (int i = 0; i < 24; ++i)
        snakes.push_back(&addSnake(300.f + 900.f * i, centre(5)));

    const std::map<int, int> next = {{1, 2}, {2, 3}, {3, 4}, {4, 1}};
    const std::map<int, unsigned> rowAfter = {{2, 1}, {3, 0}, {4, 1}, {1, 0}};
    std::map<Snake*, int> lastChange;
    int verticalMirrors = 0;
    int horizontalFourths = 0;
    for (int i = 0; i < 3000; ++i)
    {
        std::map<Snake*, int> phases;
        for (Snake* snake : snakes)
            phases[snake] = snake->getPhase();
        step();
        for (Snake* snake : snakes)
        {
            const int before = phases[snake];
            const int after = snake->getPhase();
            if (before == 0 || after == 0)
            {
                lastChange.erase(snake);  // a rest breaks the rhythm
                continue;
            }
            if (after == before)
                continue;
            EXPECT_EQ(after, next.at(before));
            EXPECT_EQ(snake->getRow(), rowAfter.at(after));
            if (after == 4 && !snake->isHorizontal())
            {
                EXPECT_TRUE(snake->isMirrored());
                ++verticalMirrors;
            }
            horizontalFourths += after == 4 && snake->isHorizontal();
            if (after == 1)
            {
                EXPECT_FALSE(snake->isMirrored());
            }
            if (lastChange.count(snake))
            {
                EXPECT_EQ(i - lastChange[snake], 17) << "a phase lasts just over half a second";
            }
            lastChange[snake] = i;
        }
    }
    EXPECT_GT(verticalMirrors, 10);
    EXPECT_GT(horizontalFourths, 10);
}

TEST_F(SnakeTest, StrayedSnakesWalkBackToTheNearestTile)
{
    Snake& snake = addSnake(5000.f, 300.f);
    const float move = 48.f / 33.f + 1e-3f;
    struct Case
    {
        sf::Vector2f stray;
        sf::Vector2f corner;
    };
    const Case cases[] = {
        {{-500.f, 300.f}, {0.f, 270.f}},
        {{-200.f, -200.f}, {0.f, 0.f}},
        {{30000.f, 300.f}, {255.f * 90.f, 270.f}},
        {{30000.f, -5000.f}, {255.f * 90.f, 0.f}},  // beyond the top-right corner
        {{4000.f, 20000.f}, {44.f * 90.f, 7.f * 90.f}},
    };
    for (const Case& c : cases)
    {
        // A crawl that ends in that very step leaves the snake where it was: look again.
        crawlStepAt(snake, c.stray.x, c.stray.y);
        if (snake.getPhase() == 0)
            crawlStepAt(snake, c.stray.x, c.stray.y);
        ASSERT_NE(snake.getPhase(), 0);
        const sf::Vector2f offset = position(snake) - c.corner;
        EXPECT_LE(std::hypot(offset.x, offset.y), move) << c.stray.x << ", " << c.stray.y;
    }
}

/// The rows and columns of a picture area that hold selected pixels.
struct Extent
{
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;
};

template <class Selected>
Extent extentOf(const sf::IntRect& area, Selected selected)
{
    Extent extent;
    for (int y = area.top; y < area.top + area.height; ++y)
        for (int x = area.left; x < area.left + area.width; ++x)
            if (selected(static_cast<unsigned>(x), static_cast<unsigned>(y)))
            {
                extent.left = std::min(extent.left, x - area.left);
                extent.top = std::min(extent.top, y - area.top);
                extent.right = std::max(extent.right, x - area.left);
                extent.bottom = std::max(extent.bottom, y - area.top);
            }
    return extent;
}

TEST_F(SnakeTest, DrawsItsCellSunkenAndMirrored)
{
    // Keep the snake on deep water until it shows a mirrored vertical cell.
    Snake& snake = addSnake(centre(DeepX), centre(BiomeRow));
    const sf::Vector2f place(centre(DeepX), centre(BiomeRow));
    for (int i = 0; i < 4000 && !(snake.isMirrored() && snake.getSink() == -15 && snake.getPhase() == 4); ++i)
    {
        body(snake).setPosition(Vector3(place.x, place.y, 0.f));
        step();
    }
    ASSERT_TRUE(snake.isMirrored());
    ASSERT_EQ(snake.getSink(), -15);
    body(snake).setPosition(Vector3(place.x, place.y, 0.f));

    // The snake is what changes near it when it is gone (the surf further left moves on its own).
    const sf::Vector2f view(place.x - 400.f, place.y - 300.f);
    draw(view.x, view.y);
    const sf::Image withSnake = picture();
    Plym::Spritesheet& sheet = QEL::gSpritesheets.get(snake.isHorizontal() ? "Snake::Horizontal" : "Snake::Vertical");
    const sf::IntRect cell = sheet.getRect(snake.getColumn(), snake.getRow());
    mSystem.destroyEntity(snake.getOwner());
    draw(view.x, view.y);
    const sf::Image withoutSnake = picture();

    const sf::Image cells = sheet.getTexture().copyToImage();
    const Extent inCell = extentOf(cell, [&](unsigned x, unsigned y) { return cells.getPixel(x, y).a != 0; });
    const Extent near = extentOf(sf::IntRect(300, 0, 200, 600), [&](unsigned x, unsigned y) {
        return withSnake.getPixel(x, y) != withoutSnake.getPixel(x, y);
    });
    const Extent drawn{near.left + 300, near.top, near.right + 300, near.bottom};
    ASSERT_NE(inCell.right, INT_MIN);
    ASSERT_NE(drawn.right, INT_MIN);

    // Origin (w / 2, h / 2 + 45), lowered by 15, flipped left-right about the origin.
    const float cellTop = place.y - view.y - (cell.height / 2.f + 45.f) + 15.f;
    const float cellLeft = place.x - view.x - cell.width / 2.f;
    EXPECT_NEAR(drawn.top, cellTop + inCell.top, 1.f);
    EXPECT_NEAR(drawn.right, cellLeft + (cell.width - 1 - inCell.left), 1.f);
    EXPECT_NEAR(drawn.left, cellLeft + (cell.width - 1 - inCell.right), 1.f);
    EXPECT_LE(drawn.bottom, cellTop + cell.height - 15.f) << "the bottom 15 rows are cut off";
}

TEST_F(SnakeTest, OutlivesItsBodyAndTheWorld)
{
    Snake& snake = addSnake(5000.f, 300.f);
    untilCrawling(snake);
    std::srand(5);
    const int next = std::rand();
    std::srand(5);
    mSystem.destroyComponent(&body(snake));
    EXPECT_EQ(std::rand(), next) << "a body going away is not a body to place";

    mSystem.destroyComponent(mChunk);
    mChunk = nullptr;
    step(300);
    draw(4600.f, 0.f);
    EXPECT_EQ(mSystem.getAllComponentsOnEntity(snake.getOwner(), "QEL.Game.Snake"),
              std::vector<Tessaly::Component*>{&snake});
}

} // namespace
