#include "actors/RoadManager.hpp"
#include "actors/RoadPieces.hpp"
#include "app/ResourceManager.hpp"
#include "tests/actors/ObjectsFixture.hpp"

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

    /// Counts the pixels of a drawn tile (top-left at `corner` in the picture) that differ from
    /// the opaque pixels of a sheet cell, optionally mirrored left-right; `checked` counts the
    /// opaque pixels compared.
    static unsigned mismatches(const sf::Image& drawn, sf::Vector2u corner, const char* sheetName, sf::Vector2u cell,
                               bool mirrored, unsigned& checked)
    {
        Plym::Spritesheet& sheet = QEL::gSpritesheets.get(sheetName);
        const sf::Image cells = sheet.getTexture().copyToImage();
        const sf::IntRect rect = sheet.getRect(cell.x, cell.y);
        unsigned wrong = 0;
        checked = 0;
        for (int y = 0; y < rect.height; ++y)
            for (int x = 0; x < rect.width; ++x)
            {
                const sf::Color expected = cells.getPixel(rect.left + x, rect.top + y);
                if (expected.a != 255)
                    continue;
                ++checked;
                const int column = mirrored ? rect.width - 1 - x : x;
                wrong += drawn.getPixel(corner.x + column, corner.y + y) != expected;
            }
        return wrong;
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
    EXPECT_EQ(mismatches(picture(), sf::Vector2u(100, 100), "Road::Path", sf::Vector2u(3, 0), false, checked), 0u);
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
    EXPECT_EQ(mismatches(drawn, sf::Vector2u(100, 100), "Road::Path", sf::Vector2u(3, 0), false, checked), 0u);
    EXPECT_GT(checked, 0u);
    EXPECT_EQ(mismatches(drawn, sf::Vector2u(100 + 5 * 90, 100), "Road::Square", sf::Vector2u(2, 0), true, checked), 0u);
    EXPECT_GT(checked, 0u);
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
