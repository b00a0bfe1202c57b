#include "actors/RoadManager.hpp"
#include "actors/RoadPieces.hpp"
#include "app/ResourceManager.hpp"
#include "tests/actors/ObjectsFixture.hpp"
#include "tests/actors/Pictures.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <iterator>

namespace
{

using namespace ObjectsTest;
using QEL::RoadManager;

class RoadManagerTest : public ObjectsFixture
{
protected:
    RoadManagerTest()
    {
        const Tessaly::EntityId entity = mSystem.createEntity();
        roads = static_cast<RoadManager*>(mSystem.createComponent("QEL.Game.RoadManager"));
        mSystem.addComponent(entity, roads);
        mSystem.finalize(entity);
    }

    static float centre(unsigned tile) { return tile * 90.f + 45.f; }

    Tessaly::Message lay(unsigned x, unsigned y) { return click(centre(x), centre(y), false); }
    Tessaly::Message removeRoad(unsigned x, unsigned y) { return click(centre(x), centre(y), true); }

    /// The piece shown at a tile, -1 for no road.
    int piece(unsigned x, unsigned y) const
    {
        const auto found = roads->getRoads().find(RoadManager::Tile(x, y));
        return found == roads->getRoads().end() ? -1 : found->second;
    }

    void mouseMoved(int x, int y)
    {
        sf::Event event;
        event.type = sf::Event::MouseMoved;
        event.mouseMove = sf::Event::MouseMoveEvent{x, y};
        sendGlobal("QEL.Game.Event", event);
    }

    /// Compares a drawn tile (top-left at `corner` in the picture) with a cell of a road sheet.
    static unsigned mismatches(const sf::Image& drawn, sf::Vector2i corner, const char* sheetName, sf::Vector2u cell,
                               bool mirrored, unsigned& checked)
    {
        return Pictures::cellMismatches(drawn, corner, QEL::gSpritesheets.get(sheetName), cell, mirrored, checked);
    }

    RoadManager* roads = nullptr;
};

TEST_F(RoadManagerTest, RTogglesBuildMode)
{
    EXPECT_FALSE(roads->isBuilding());
    EXPECT_FALSE(lay(30, 4).handled);
    step();
    EXPECT_TRUE(roads->getRoads().empty()) << "no roads outside build mode";

    keyPressed(sf::Keyboard::R);
    EXPECT_TRUE(roads->isBuilding());
    keyPressed(sf::Keyboard::T);
    EXPECT_TRUE(roads->isBuilding());
    keyPressed(sf::Keyboard::R);
    EXPECT_FALSE(roads->isBuilding());
}

TEST_F(RoadManagerTest, AnRTypedIntoTheChatLineIsJustALetter)
{
    // The player's figure answers "ChatMessage" while the chat line is open.
    bool typing = true;
    addProbe("ChatMessage", 0, [&typing](Tessaly::Message& message) { message.handled = typing; });
    keyPressed(sf::Keyboard::R);
    EXPECT_FALSE(roads->isBuilding());
    typing = false;
    keyPressed(sf::Keyboard::R);
    EXPECT_TRUE(roads->isBuilding());
}

TEST_F(RoadManagerTest, CursorSnapsToTheCentreOfTheTileUnderTheMouse)
{
    keyPressed(sf::Keyboard::R);
    draw(sf::FloatRect(1000.f, 100.f, 1600.f, 1200.f));  // the game's half scale
    mouseMoved(0, 0);
    EXPECT_EQ(roads->getCursor(), sf::Vector2f(1035.f, 135.f));
    mouseMoved(400, 300);
    EXPECT_EQ(roads->getCursor(), sf::Vector2f(1845.f, 675.f));
    mouseMoved(799, 599);
    EXPECT_EQ(roads->getCursor(), sf::Vector2f(2565.f, 1305.f));

    keyPressed(sf::Keyboard::R);
    mouseMoved(0, 0);
    EXPECT_EQ(roads->getCursor(), sf::Vector2f(2565.f, 1305.f)) << "the cursor rests outside build mode";
}

TEST_F(RoadManagerTest, LaidRoadAppearsAtTheNextUpdateAndReshapesItsNeighbours)
{
    keyPressed(sf::Keyboard::R);
    EXPECT_TRUE(lay(30, 4).handled);
    EXPECT_EQ(piece(30, 4), -1);
    step();
    EXPECT_EQ(piece(30, 4), 0);

    lay(31, 4);
    EXPECT_EQ(piece(30, 4), 0);
    step();
    EXPECT_EQ(piece(30, 4), 22);
    EXPECT_EQ(piece(31, 4), 24);

    lay(31, 3);
    step();
    EXPECT_EQ(piece(30, 4), 22) << "a diagonal neighbour alone does not change the shape";
    EXPECT_EQ(piece(31, 4), 15);
    EXPECT_EQ(piece(31, 3), 23);
    EXPECT_EQ(roads->getNeighbourMask(RoadManager::Tile(30, 4)), QEL::RoadPieces::East | QEL::RoadPieces::NorthEast);
}

TEST_F(RoadManagerTest, RemovingARoadLeavesTheClickToOthersAndReshapesNeighboursNextUpdate)
{
    Probe& behind = addProbe("QEL.Game.Click", 230402);
    keyPressed(sf::Keyboard::R);
    lay(30, 4);
    lay(31, 4);
    step();
    EXPECT_EQ(behind.calls, 0);

    EXPECT_FALSE(removeRoad(31, 4).handled);
    EXPECT_EQ(behind.calls, 1);
    EXPECT_EQ(piece(31, 4), -1);
    EXPECT_EQ(piece(30, 4), 22);
    step();
    EXPECT_EQ(piece(30, 4), 0);
    EXPECT_EQ(roads->getRoads().size(), 1u);
}

TEST_F(RoadManagerTest, RoadsLaidOrRemovedInOneStepSeeEachOther)
{
    keyPressed(sf::Keyboard::R);
    lay(30, 4);
    lay(31, 4);
    lay(32, 4);
    step();
    EXPECT_EQ(piece(30, 4), 22);
    EXPECT_EQ(piece(31, 4), 20);
    EXPECT_EQ(piece(32, 4), 24);

    lay(33, 4);
    removeRoad(33, 4);
    step();
    EXPECT_EQ(piece(33, 4), -1) << "a road removed right after it was laid stays away";
    EXPECT_EQ(piece(32, 4), 24);
}

TEST_F(RoadManagerTest, RefusesWaterAndTilesOutsideTheMap)
{
    keyPressed(sf::Keyboard::R);
    EXPECT_FALSE(lay(ShallowX, BiomeRow).handled);
    EXPECT_FALSE(lay(DeepX, BiomeRow).handled);
    EXPECT_FALSE(click(MapWidth * 90.f + 10.f, 100.f).handled);
    EXPECT_FALSE(click(100.f, MapHeight * 90.f + 5.f).handled);
    EXPECT_FALSE(click(-100.f, 100.f).handled);
    EXPECT_FALSE(click(100.f, -100.f).handled);
    step();
    EXPECT_TRUE(roads->getRoads().empty());

    for (unsigned x : {DesertX, BeachX, GrassX})
        EXPECT_TRUE(lay(x, BiomeRow).handled);
    step();
    EXPECT_EQ(piece(DesertX, BiomeRow), 22);
    EXPECT_EQ(piece(BeachX, BiomeRow), 24);
    EXPECT_EQ(piece(GrassX, BiomeRow), 0);
}

TEST_F(RoadManagerTest, RoadsAtBothEdgesOfARowAreNeighbours)
{
    keyPressed(sf::Keyboard::R);
    lay(0, 4);
    lay(MapWidth - 1, 4);
    step();
    EXPECT_EQ(piece(0, 4), 24);
    EXPECT_EQ(piece(MapWidth - 1, 4), 22);
    EXPECT_EQ(roads->getNeighbourMask(RoadManager::Tile(0, 4)), QEL::RoadPieces::West);
}

TEST_F(RoadManagerTest, TakesClicksLastAndDrawsRightAboveTheTerrain)
{
    Probe& before = addProbe("QEL.Game.Click", 230400);
    Probe& after = addProbe("QEL.Game.Click", 230402);
    keyPressed(sf::Keyboard::R);
    EXPECT_TRUE(lay(GrassX, BiomeRow).handled);
    EXPECT_EQ(before.calls, 1);
    EXPECT_EQ(after.calls, 0);
    step();
    keyPressed(sf::Keyboard::R);  // no cursor piece

    // Drawn over the grass tile: the road's own pixels show.
    draw(GrassX * 90.f - 100.f, BiomeRow * 90.f - 100.f);
    unsigned checked = 0;
    EXPECT_EQ(mismatches(picture(), sf::Vector2i(100, 100), "Road::Path", sf::Vector2u(3, 0), false, checked), 0u);
    EXPECT_GT(checked, 0u);
}

TEST_F(RoadManagerTest, DrawsEachPieceFromItsSheetCell)
{
    keyPressed(sf::Keyboard::R);
    lay(40, 4);
    // Around (45, 4): west, south-west, south and east, but no south-east: piece 29, the
    // square sheet's cell (2, 0) mirrored left-right.
    for (const auto& [x, y] : {std::pair(44u, 4u), std::pair(44u, 5u), std::pair(45u, 5u), std::pair(46u, 4u), std::pair(45u, 4u)})
        lay(x, y);
    step();
    ASSERT_EQ(piece(40, 4), 0);
    ASSERT_EQ(piece(45, 4), 29);
    keyPressed(sf::Keyboard::R);

    draw(40 * 90.f - 100.f, 4 * 90.f - 100.f);
    const sf::Image drawn = picture();
    unsigned checked = 0;
    EXPECT_EQ(mismatches(drawn, sf::Vector2i(100, 100), "Road::Path", sf::Vector2u(3, 0), false, checked), 0u);
    EXPECT_GT(checked, 0u);
    EXPECT_EQ(mismatches(drawn, sf::Vector2i(100 + 5 * 90, 100), "Road::Square", sf::Vector2u(2, 0), true, checked), 0u);
    EXPECT_GT(checked, 0u);
}

TEST_F(RoadManagerTest, TurnedAndMirroredPiecesShowTheirCellTurnedAndMirrored)
{
    // The road neighbours that give each piece, and how it shows its cell of the square sheet.
    const struct
    {
        unsigned piece;
        std::uint8_t neighbours;
        sf::Vector2u cell;
        sf::Vector2f scale;
        float rotation;
    } pieces[] = {
        {29, 232, {2, 0}, {-1, 1}, 0},  {30, 184, {2, 0}, {1, 1}, 0},   {31, 142, {2, 0}, {1, -1}, 0},
        {32, 139, {2, 0}, {-1, -1}, 0}, {33, 46, {2, 0}, {1, 1}, 270},  {34, 163, {2, 0}, {1, -1}, 270},
        {35, 58, {3, 0}, {1, 1}, 180},  {36, 226, {3, 0}, {-1, 1}, 180}, {37, 187, {1, 0}, {1, 1}, 0},
        {38, 238, {1, 0}, {-1, 1}, 0},  {39, 186, {0, 4}, {1, 1}, 0},   {40, 234, {0, 4}, {1, 1}, 90},
        {41, 171, {0, 4}, {1, 1}, 180}, {42, 174, {0, 4}, {1, 1}, 270}, {43, 250, {1, 4}, {1, 1}, 90},
        {44, 175, {1, 4}, {1, 1}, 270}, {45, 190, {1, 4}, {1, 1}, 0},   {46, 235, {1, 4}, {1, 1}, 180}};
    // Neighbour bits from the north-west clockwise round to the west.
    const int dx[] = {-1, 0, 1, 1, 1, 0, -1, -1};
    const int dy[] = {-1, -1, -1, 0, 1, 1, 1, 0};
    constexpr unsigned Row = 4;
    const auto column = [](unsigned index) { return 2 + 4 * index; };  // an empty column between patterns

    keyPressed(sf::Keyboard::R);
    for (unsigned index = 0; index < std::size(pieces); ++index)
    {
        lay(column(index), Row);
        for (unsigned bit = 0; bit < 8; ++bit)
            if (pieces[index].neighbours >> bit & 1)
                lay(column(index) + dx[bit], Row + dy[bit]);
    }
    step();
    keyPressed(sf::Keyboard::R);

    const Plym::Spritesheet& sheet = QEL::gSpritesheets.get("Road::Square");
    const sf::IntRect tile(100, 100, 90, 90);
    for (unsigned index = 0; index < std::size(pieces); ++index)
    {
        const auto& expected = pieces[index];
        ASSERT_EQ(piece(column(index), Row), static_cast<int>(expected.piece));
        const float left = column(index) * 90.f - tile.left;
        const float top = Row * 90.f - tile.top;
        draw(left, top);
        const auto cellDrawn = [&](sf::Vector2f scale, float rotation) {
            return expectedPicture(left, top, [&](sf::RenderTarget& target) {
                sf::Sprite sprite(sheet.getTexture(), sheet.getRect(expected.cell.x, expected.cell.y));
                sprite.setOrigin(45.f, 45.f);
                sprite.setPosition(centre(column(index)), centre(Row));
                sprite.setScale(scale);
                sprite.setRotation(rotation);
                target.draw(sprite);
            });
        };
        const sf::Image transformed = cellDrawn(expected.scale, expected.rotation);
        EXPECT_EQ(Pictures::countDiffering(picture(), transformed, tile), 0u) << "piece " << expected.piece;
        // The cell must not look the same either way, or a wrong turn would pass unseen.
        if (expected.scale != sf::Vector2f(1.f, 1.f) || expected.rotation != 0.f)
        {
            EXPECT_GT(Pictures::countDiffering(cellDrawn({1.f, 1.f}, 0.f), transformed, tile), 0u) << "piece " << expected.piece;
        }
    }
}

TEST_F(RoadManagerTest, BuildModeShowsAHalfTransparentPieceAtTheCursor)
{
    keyPressed(sf::Keyboard::R);
    const sf::FloatRect visible(50 * 90.f, 0.f, 800.f, 600.f);
    draw(visible);
    mouseMoved(100, 100);  // over tile (51, 1)
    draw(visible);
    const sf::Image drawn = picture();
    Plym::Spritesheet& sheet = QEL::gSpritesheets.get("Road::Square");
    const sf::Image cells = sheet.getTexture().copyToImage();
    const sf::IntRect cell = sheet.getRect(0, 0);
    unsigned checked = 0;
    for (int y = 0; y < cell.height; ++y)
        for (int x = 0; x < cell.width; ++x)
        {
            if (cells.getPixel(cell.left + x, cell.top + y).a != 255)
                continue;
            ++checked;
            const sf::Color shown = drawn.getPixel(90 + x, 90 + y);
            EXPECT_NEAR(shown.a, 127, 1);
        }
    EXPECT_GT(checked, 0u);
    EXPECT_TRUE(roads->getRoads().empty());
}

} // namespace
